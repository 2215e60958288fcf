// The headless twin must behave like the Win32 dialog manager where the
// plug-ins depend on it: close box handling, scripted commands, recording.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/platform.h"

namespace {

struct ProcedureLog {
    std::vector<std::pair<unsigned, uintptr_t>> messages;
    bool handleClose = false;
};
ProcedureLog* gLog = nullptr;

intptr_t RecordingProcedure(platform::DialogHandle dialog, unsigned message, uintptr_t wParam, intptr_t) {
    gLog->messages.emplace_back(message, wParam);
    if (message == platform::kMessageClose && gLog->handleClose) {
        platform::EndModalDialog(dialog, 7);
        return 1;
    }
    if (message == platform::kMessageCommand && wParam == platform::kIdOk) {
        platform::SetItemText(dialog, 1000, (platform::GetItemText(dialog, 1000, 4) + "!").c_str());
        platform::EndModalDialog(dialog, 1);
        return 1;
    }
    if (message == platform::kMessageCommand && wParam == platform::kIdCancel) {
        platform::EndModalDialog(dialog, 0);
        return 1;
    }
    return 0;
}

class HeadlessDialog : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::Reset();
        gLog = &log;
    }
    ProcedureLog log;
};

TEST_F(HeadlessDialog, UnhandledCloseBecomesCancelLikeWindows) {
    platform::headless::QueueDialog({{platform::headless::CloseBox()}});
    EXPECT_EQ(platform::RunModalDialog(nullptr, 101, RecordingProcedure, 0), 0);
    ASSERT_EQ(log.messages.size(), 3u);
    EXPECT_EQ(log.messages[0].first, platform::kMessageInitDialog);
    EXPECT_EQ(log.messages[1].first, platform::kMessageClose);
    EXPECT_EQ(log.messages[2], std::make_pair(unsigned(platform::kMessageCommand), uintptr_t(platform::kIdCancel)));
}

TEST_F(HeadlessDialog, HandledCloseEndsWithItsOwnResult) {
    log.handleClose = true;
    platform::headless::QueueDialog({{platform::headless::CloseBox()}});
    EXPECT_EQ(platform::RunModalDialog(nullptr, 101, RecordingProcedure, 0), 7);
    EXPECT_EQ(log.messages.size(), 2u);
}

TEST_F(HeadlessDialog, ScriptedTextIsReadWithWin32LengthLimit) {
    platform::headless::QueueDialog({{platform::headless::SetText(1000, "abcdef"), platform::headless::Press(1),
                                      platform::headless::Press(2)}});
    EXPECT_EQ(platform::RunModalDialog(nullptr, 101, RecordingProcedure, 0), 1);
    // GetItemText(…, 4) reads 3 characters; the press after the end is not delivered.
    EXPECT_EQ(platform::headless::LastDialogText(1000), "abc!");
    EXPECT_EQ(log.messages.size(), 2u);
}

// A scripted tick leaves the box as a click would, without a message of its
// own; the procedure reads it when OK arrives.
TEST_F(HeadlessDialog, ScriptedChecksAreReadWithoutAMessage) {
    static bool checkedAtOk[3];
    auto procedure = [](platform::DialogHandle dialog, unsigned message, uintptr_t wParam, intptr_t) -> intptr_t {
        gLog->messages.emplace_back(message, wParam);
        if (message != platform::kMessageCommand || wParam != platform::kIdOk) return 0;
        for (int i = 0; i < 3; ++i) checkedAtOk[i] = platform::IsButtonChecked(dialog, 1009 + i);
        platform::EndModalDialog(dialog, 1);
        return 1;
    };
    using platform::headless::SetCheck;
    platform::headless::QueueDialog({{SetCheck(1009, true), SetCheck(1010, true), SetCheck(1010, false),
                                      platform::headless::Press(1)}});
    EXPECT_EQ(platform::RunModalDialog(nullptr, 101, procedure, 0), 1);
    EXPECT_EQ(log.messages.size(), 2u);
    EXPECT_TRUE(checkedAtOk[0]);
    EXPECT_FALSE(checkedAtOk[1]);
    EXPECT_FALSE(checkedAtOk[2]);
    EXPECT_TRUE(platform::headless::LastDialogChecked(1009));
    EXPECT_FALSE(platform::headless::LastDialogChecked(1010));
}

TEST_F(HeadlessDialog, FailedCreationRunsNothing) {
    platform::headless::DialogScript script;
    script.fail = true;
    platform::headless::QueueDialog(script);
    EXPECT_EQ(platform::RunModalDialog(nullptr, 101, RecordingProcedure, 0), -1);
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(platform::headless::DialogsRun(), 0);
}

TEST(HeadlessRecords, MessageBoxesPickersAndDebugOutput) {
    platform::headless::Reset();
    platform::ShowMessageBox("text", nullptr);
    platform::ShowMessageBox("other", "Caption");
    platform::DebugOutput("a");
    platform::DebugOutput("b\n");
    platform::Pause(1);
    platform::Pause(1);
    platform::headless::QueuePickerAnswer(std::nullopt);
    platform::headless::QueuePickerAnswer(std::string("/x/y.nif"));
    platform::FileDialogRequest request;
    request.title = "T";
    request.filter = "NIF Files (*.nif)\0*.nif\0";
    std::string chosen = "unchanged";
    EXPECT_FALSE(platform::ShowOpenFileDialog(request, chosen));
    EXPECT_EQ(chosen, "unchanged");
    EXPECT_TRUE(platform::ShowSaveFileDialog(request, chosen));
    EXPECT_EQ(chosen, "/x/y.nif");
    EXPECT_FALSE(platform::ShowFolderBrowser("Folder", chosen));  // nothing queued: cancel

    const auto& boxes = platform::headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_FALSE(boxes[0].caption.has_value());
    EXPECT_EQ(boxes[1].caption.value(), "Caption");
    EXPECT_EQ(platform::headless::DebugText(), "ab\n");
    EXPECT_EQ(platform::headless::PauseMilliseconds(), 2u);
    ASSERT_EQ(platform::headless::Pickers().size(), 3u);
    EXPECT_EQ(platform::headless::Pickers()[0].filter, "NIF Files (*.nif)|*.nif|");
    EXPECT_EQ(platform::headless::Pickers()[2].kind, platform::headless::RecordedPicker::kFolder);
}

TEST(HeadlessRecords, TemporaryFolderEndsWithSeparator) {
    platform::headless::Reset();
    platform::headless::SetTemporaryFolder(std::string("/some/where"));
    EXPECT_EQ(platform::TemporaryFolder(), "/some/where/");
    platform::headless::Reset();
}

}  // namespace
