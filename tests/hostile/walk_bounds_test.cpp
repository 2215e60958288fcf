// Scene graphs built to make the parent-linking walk, and with it the import,
// recurse without end or take exponential time: each ends with its bound's message.
#include <gtest/gtest.h>

#include <string>

#include "nif_builder/nif_builder.h"
#include "tests/hostile/hostile_support.h"

namespace {

constexpr char kTooDeep[] = "Scene graph nested too deeply (more than 1000 levels).";
constexpr char kTooManyVisits[] = "Scene graph too large (more than 1000000 block visits).";

// Nodes 0..count-1, each with the links `children(i)` as its children.
template <class Children>
NifBuilder NodeFile(int count, Children children) {
    NifBuilder nif;
    nif.FileStart(count);
    for (int i = 0; i < count; ++i) {
        nif.TypeName("NiNode");
        ObjectHead(nif, "");
        nif.Long(0);
        const std::vector<int32_t> links = children(i);
        nif.Long(static_cast<int32_t>(links.size()));
        for (int32_t link : links) nif.Long(link);
        nif.Long(0);  // no effects
    }
    return nif.Footer();
}

NifBuilder ChainOfNodes(int count) {
    return NodeFile(count, [count](int i) { return i + 1 < count ? std::vector<int32_t>{i + 1} : std::vector<int32_t>{}; });
}

}  // namespace

TEST(WalkBounds, ChainOfHundredThousandNestedNodes_fail) {
    const NifBuilder nif = ChainOfNodes(100000);
    const hostile::LoadOutcome outcome = hostile::LoadBytes(nif);
    EXPECT_EQ(outcome.failure, kTooDeep);
    EXPECT_EQ(outcome.debugText, std::string(kTooDeep) + "\n");
    // A file made only of the smallest nodes (108 bytes each) is the hardest
    // case of the memory bound: each node object must stay near its file size.
    EXPECT_LE(outcome.peakBytes, hostile::MemoryBound(nif.Size()));
}

TEST(WalkBounds, ImportOfHundredThousandNestedNodesLeavesModelAlone_fail) {
    const hostile::ImportOutcome outcome = hostile::ImportBytes(ChainOfNodes(100000));
    EXPECT_EQ(outcome.failure, kTooDeep);
    EXPECT_TRUE(outcome.modelUnchanged);
}

TEST(WalkBounds, TwoNodesThatAreEachOthersChild_fail) {
    const NifBuilder nif = NodeFile(2, [](int i) { return std::vector<int32_t>{1 - i}; });
    const hostile::LoadOutcome outcome = hostile::LoadBytes(nif);
    EXPECT_EQ(outcome.failure, kTooDeep);
    EXPECT_EQ(outcome.debugText, std::string(kTooDeep) + "\n");
}

TEST(WalkBounds, NodeThatIsItsOwnChild_fail) {
    const hostile::ImportOutcome outcome = hostile::ImportBytes(NodeFile(1, [](int) { return std::vector<int32_t>{0}; }));
    EXPECT_EQ(outcome.failure, kTooDeep);
    EXPECT_TRUE(outcome.modelUnchanged);
}

// Each level's node lists the next level's node twice: 30 small blocks
// whose walk would make 2^30 - 1 visits.
TEST(WalkBounds, ChildrenSharedLevelAfterLevel_fail) {
    const NifBuilder nif =
        NodeFile(30, [](int i) { return i + 1 < 30 ? std::vector<int32_t>{i + 1, i + 1} : std::vector<int32_t>{}; });
    const hostile::LoadOutcome outcome = hostile::LoadBytes(nif);
    EXPECT_EQ(outcome.failure, kTooManyVisits);
    EXPECT_EQ(outcome.debugText, std::string(kTooManyVisits) + "\n");
    EXPECT_LE(outcome.peakBytes, hostile::MemoryBound(nif.Size()));
}

// Three children per level reach the visit bound with fewer levels; the
// import must stop there too and add nothing.
TEST(WalkBounds, ImportOfThreeSharedChildrenPerLevelLeavesModelAlone_fail) {
    const hostile::ImportOutcome outcome = hostile::ImportBytes(
        NodeFile(20, [](int i) { return i + 1 < 20 ? std::vector<int32_t>{i + 1, i + 1, i + 1} : std::vector<int32_t>{}; }));
    EXPECT_EQ(outcome.failure, kTooManyVisits);
    EXPECT_TRUE(outcome.modelUnchanged);
}

// Just under both bounds the same shapes load: 1000 levels, and
// 2^19 - 1 = 524,287 visits.
TEST(WalkBounds, ThousandLevelsAndHalfAMillionVisitsLoad) {
    const hostile::LoadOutcome chain = hostile::LoadBytes(ChainOfNodes(1000));
    EXPECT_TRUE(chain.loaded) << chain.failure;
    const hostile::LoadOutcome shared =
        hostile::LoadBytes(NodeFile(19, [](int i) { return i + 1 < 19 ? std::vector<int32_t>{i + 1, i + 1} : std::vector<int32_t>{}; }));
    EXPECT_TRUE(shared.loaded) << shared.failure;
    EXPECT_EQ(shared.blockCount, 19);
}
