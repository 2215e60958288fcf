// The run's diagnostics sink: which boxes and lines get through, and the
// summary lines that say what was held back.
#include <gtest/gtest.h>

#include <string>

#include "importer/nif/diagnostics.h"
#include "platform/headless.h"

namespace {

namespace headless = platform::headless;

class DiagnosticsSink : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }
    Diagnostics diagnostics;
};

TEST_F(DiagnosticsSink, ABoxIsHeldBackOnlyWhenCaptionAndTextBothRepeat) {
    diagnostics.ShowBox("text", "caption");
    diagnostics.ShowBox("text", "other caption");
    diagnostics.ShowBox("other text", "caption");
    diagnostics.ShowBox("text", nullptr);  // the default caption is a caption of its own
    diagnostics.ShowBox("text", "");
    diagnostics.ShowBox("text", "caption");
    diagnostics.ShowBox("text", nullptr);
    const auto& boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[1].caption, "other caption");
    EXPECT_EQ(boxes[2].text, "other text");
    EXPECT_FALSE(boxes[3].caption.has_value());
    EXPECT_EQ(boxes[4].caption, "");
    EXPECT_EQ(diagnostics.BoxesHeldBack(), 2);
    EXPECT_EQ(headless::DebugText(), "");  // nothing is written before the run ends
    diagnostics.Finish();
    EXPECT_EQ(headless::DebugText(), "2 repeated message boxes not shown\n");
}

TEST_F(DiagnosticsSink, TheThousandthLineIsWrittenAndTheNextIsCountedWithoutAPause) {
    for (int i = 0; i < Diagnostics::kMaxDebugLines - 1; ++i) diagnostics.WriteLine("x");
    diagnostics.PrintText("last ");
    diagnostics.PrintText("line");
    diagnostics.EndLine();
    const std::string written = headless::DebugText();
    const unsigned long long paused = headless::PauseMilliseconds();
    EXPECT_EQ(paused, 2u * 999u + 3u);
    EXPECT_EQ(written.substr(written.size() - 10), "last line\n");

    diagnostics.PrintText("held ");
    diagnostics.PrintText("back");
    diagnostics.EndLine();
    diagnostics.WriteLine("also held back");
    EXPECT_EQ(headless::DebugText(), written);
    EXPECT_EQ(headless::PauseMilliseconds(), paused);
    EXPECT_EQ(diagnostics.LinesWritten(), 1000);
    EXPECT_EQ(diagnostics.LinesHeldBack(), 2);

    diagnostics.ShowBox("b", "c");
    diagnostics.ShowBox("b", "c");
    diagnostics.Finish();
    EXPECT_EQ(headless::DebugText(), written + "1 repeated message boxes not shown\n2 further debug lines not shown\n");
    EXPECT_EQ(headless::PauseMilliseconds(), paused + 4u);
}

TEST_F(DiagnosticsSink, FinishWritesNothingWhenNothingWasHeldBackAndClearsItsCounts) {
    diagnostics.WriteLine("one");
    diagnostics.ShowBox("b", "c");
    diagnostics.Finish();
    EXPECT_EQ(headless::DebugText(), "one\n");
    diagnostics.ShowBox("b", "c");
    diagnostics.Finish();
    diagnostics.Finish();
    EXPECT_EQ(headless::DebugText(), "one\n1 repeated message boxes not shown\n");
}

}  // namespace
