// A file with 100,000 mistyped links: the warnings are capped, so the load
// asks for a bounded number of debugger writes and pauses whatever the file holds.
#include <gtest/gtest.h>

#include <string>

#include "nif_builder/nif_builder.h"
#include "platform/headless.h"
#include "tests/hostile/hostile_support.h"

namespace {

constexpr int kMistypedLinks = 100000;
constexpr char kWarning[] = "Wanted Child, but got: NiZBufferProperty\n";

// A node whose 100,000 children all name the z-buffer property of block 1.
NifBuilder NodeWithMistypedChildren() {
    NifBuilder nif;
    nif.FileStart(2).TypeName("NiNode");
    ObjectHead(nif, "root");
    nif.Long(0).Long(kMistypedLinks);
    for (int i = 0; i < kMistypedLinks; ++i) nif.Long(1);
    nif.LinkList({});
    ZBufferPropertyBlock(nif);
    return nif.Footer();
}

}  // namespace

TEST(LinkFlood, HundredThousandMistypedLinksWriteHundredAndOneLines) {
    const NifBuilder nif = NodeWithMistypedChildren();
    const hostile::LoadOutcome outcome = hostile::LoadBytes(nif);
    ASSERT_TRUE(outcome.loaded) << outcome.failure;
    std::string expected;
    for (int i = 0; i < 100; ++i) expected += kWarning;
    expected += "99900 further link warnings not shown\n";
    EXPECT_EQ(outcome.debugText, expected);
    EXPECT_EQ(hostile::LineCount(outcome.debugText), 101);
    // Three writes per warning line (text, type name, line end), two for the summary.
    EXPECT_EQ(outcome.pauseMilliseconds, 100u * 3u + 2u);
    EXPECT_LE(outcome.peakBytes, hostile::MemoryBound(nif.Size()));
}

TEST(LinkFlood, ImportOfHundredThousandMistypedLinksShowsFewBoxes) {
    const hostile::ImportOutcome outcome = hostile::ImportBytes(NodeWithMistypedChildren());
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(hostile::LineCount(outcome.debugText), 101);
    EXPECT_EQ(outcome.messageBoxCount, 0);
}
