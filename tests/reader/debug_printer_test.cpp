// The run's debug printer: which boxes and lines get through, and the
// summary lines that say what was held back.
#include <gtest/gtest.h>

#include <string>

#include "importer/nif/debug_printer.h"
#include "platform/headless.h"

namespace {

namespace headless = platform::headless;

class DebugPrinterSink : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }
    DebugPrinter debugPrinter;
};

TEST_F(DebugPrinterSink, ABoxIsHeldBackOnlyWhenCaptionAndTextBothRepeat) {
    debugPrinter.ShowBox("text", "caption");
    debugPrinter.ShowBox("text", "other caption");
    debugPrinter.ShowBox("other text", "caption");
    debugPrinter.ShowBox("text", nullptr);  // the default caption is a caption of its own
    debugPrinter.ShowBox("text", "");
    debugPrinter.ShowBox("text", "caption");
    debugPrinter.ShowBox("text", nullptr);
    const auto& boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[1].caption, "other caption");
    EXPECT_EQ(boxes[2].text, "other text");
    EXPECT_FALSE(boxes[3].caption.has_value());
    EXPECT_EQ(boxes[4].caption, "");
    EXPECT_EQ(debugPrinter.BoxesHeldBack(), 2);
    EXPECT_EQ(headless::DebugText(), "");  // nothing is written before the run ends
    debugPrinter.Finish();
    EXPECT_EQ(headless::DebugText(), "2 repeated message boxes not shown\n");
}

TEST_F(DebugPrinterSink, TheThousandthLineIsWrittenAndTheNextIsCountedWithoutAPause) {
    for (int i = 0; i < DebugPrinter::kMaxDebugLines - 1; ++i) debugPrinter.WriteLine("x");
    debugPrinter.PrintText("last ");
    debugPrinter.PrintText("line");
    debugPrinter.EndLine();
    const std::string written = headless::DebugText();
    const unsigned long long paused = headless::PauseMilliseconds();
    EXPECT_EQ(paused, 2u * 999u + 3u);
    EXPECT_EQ(written.substr(written.size() - 10), "last line\n");

    debugPrinter.PrintText("held ");
    debugPrinter.PrintText("back");
    debugPrinter.EndLine();
    debugPrinter.WriteLine("also held back");
    EXPECT_EQ(headless::DebugText(), written);
    EXPECT_EQ(headless::PauseMilliseconds(), paused);
    EXPECT_EQ(debugPrinter.LinesWritten(), 1000);
    EXPECT_EQ(debugPrinter.LinesHeldBack(), 2);

    debugPrinter.ShowBox("b", "c");
    debugPrinter.ShowBox("b", "c");
    debugPrinter.Finish();
    EXPECT_EQ(headless::DebugText(), written + "1 repeated message boxes not shown\n2 further debug lines not shown\n");
    EXPECT_EQ(headless::PauseMilliseconds(), paused + 4u);
}

TEST_F(DebugPrinterSink, FinishWritesNothingWhenNothingWasHeldBackAndClearsItsCounts) {
    debugPrinter.WriteLine("one");
    debugPrinter.ShowBox("b", "c");
    debugPrinter.Finish();
    EXPECT_EQ(headless::DebugText(), "one\n");
    debugPrinter.ShowBox("b", "c");
    debugPrinter.Finish();
    debugPrinter.Finish();
    EXPECT_EQ(headless::DebugText(), "one\n1 repeated message boxes not shown\n");
}

}  // namespace
