// The plug-in object and its options dialog, driven through the host's
// table and the headless dialog script: what execute returns, when the
// model is released, the Browse button's save dialog, and which object the
// dialog acts on.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "tests/exporter/export_fixture.h"

using platform::headless::CloseBox;
using platform::headless::Press;
using platform::headless::SetText;
using Strings = std::vector<std::string>;

namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

}  // namespace

class ExportPlugIn : public ExportFixture {
protected:
    void SetUp() override {
        ExportFixture::SetUp();
        model.AddTriangleMesh("box", model.AddMaterial("wood", "a.bmp"));
    }
    // Execute through the host's table, as the host calls it.
    int Execute(msModel* handle) { return msPlugIn_Execute(&plugIn, handle); }
    int DestroyCount() const { return msModel_GetDestroyCount(model.get()); }

    CNifExportPlugIn plugIn;
};

TEST_F(ExportPlugIn, AnswersTheHostAsAnExporter) {
    EXPECT_EQ(msPlugIn_GetType(&plugIn), 2);
    EXPECT_STREQ(msPlugIn_GetTitle(&plugIn), "Korbastel <ALPHA>");
}

TEST_F(ExportPlugIn, NullModelReturnsAtOnce) {
    EXPECT_EQ(Execute(nullptr), -1);
    EXPECT_EQ(platform::headless::DialogsRun(), 0);
}

TEST_F(ExportPlugIn, DialogOpensWithTheEnabledChoicesChecked) {
    platform::headless::QueueDialog({{Press(kCancel)}});
    Execute(model.get());
    EXPECT_TRUE(platform::headless::LastDialogChecked(1002));
    EXPECT_TRUE(platform::headless::LastDialogChecked(1005));
    for (int id : {1003, 1004, 1006, 1009}) EXPECT_FALSE(platform::headless::LastDialogChecked(id)) << id;
    EXPECT_EQ(platform::headless::LastDialogText(1000), "");
}

TEST_F(ExportPlugIn, CancelEscapeAndCloseBoxLeaveTheModel) {
    for (auto action : {Press(kCancel), CloseBox()}) {
        platform::headless::QueueDialog({{action}});
        EXPECT_EQ(Execute(model.get()), -1);
        EXPECT_EQ(platform::headless::LastDialogResult(), 1);
    }
    EXPECT_EQ(DestroyCount(), 0);
    EXPECT_EQ(plugIn.Model(), nullptr);
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(ExportPlugIn, OkWithAnEmptyNameClosesTheDialogAndFails) {
    platform::headless::QueueDialog({{Press(kOk)}});
    EXPECT_EQ(Execute(model.get()), -1);
    EXPECT_EQ(platform::headless::DialogsRun(), 1);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(DestroyCount(), 0);
}

TEST_F(ExportPlugIn, SuccessfulExportReleasesTheModelOnce) {
    platform::headless::QueueDialog({{SetText(1000, Output()), Press(kOk)}});
    EXPECT_EQ(Execute(model.get()), 0);
    EXPECT_EQ(platform::headless::LastDialogResult(), 0);
    EXPECT_EQ(DestroyCount(), 1);
    EXPECT_EQ(plugIn.OutputFileName(), Output());
    EXPECT_EQ(plugIn.Model(), nullptr);
    EXPECT_TRUE(ScanOutput().complete);
}

TEST_F(ExportPlugIn, FailedExportShowsItsMessageAndLeavesTheModel) {
    TestModel empty;
    platform::headless::QueueDialog({{SetText(1000, Output()), Press(kOk)}});
    EXPECT_EQ(Execute(empty.get()), -1);
    EXPECT_EQ(MessageTexts(), Strings{"Fatal error: Model has no mesh data,\nexport aborted."});
    EXPECT_EQ(msModel_GetDestroyCount(empty.get()), 0);
}

// The run itself shows nothing: its result carries the message, and Execute
// shows it, once, after the dialog has ended.
TEST_F(ExportPlugIn, RunReturnsItsMessageAndExecuteShowsItOnce) {
    TestModel noMaterials;
    noMaterials.AddTriangleMesh("box", -1);
    CNifExportPlugIn run;
    run.SetModel(noMaterials.get());
    run.SetOutputFileName(Output());
    const ExportResult result = run.RunExport();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.message, "Fatal error: Model has no materials,\nexport aborted.");
    EXPECT_TRUE(platform::headless::MessageBoxes().empty());

    platform::headless::QueueDialog({{SetText(1000, Output()), Press(kOk)}});
    EXPECT_EQ(Execute(noMaterials.get()), -1);
    EXPECT_EQ(MessageTexts(), Strings{"Fatal error: Model has no materials,\nexport aborted."});
    // The next run starts without the last one's message.
    platform::headless::QueueDialog({{Press(kCancel)}});
    EXPECT_EQ(Execute(noMaterials.get()), -1);
    EXPECT_EQ(MessageTexts().size(), 1u);
}

TEST_F(ExportPlugIn, SuccessfulRunHasNoMessage) {
    plugIn.SetModel(model.get());
    plugIn.SetOutputFileName(Output());
    const ExportResult result = plugIn.RunExport();
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.message, "");
    EXPECT_TRUE(ScanOutput().complete);
}

TEST_F(ExportPlugIn, DialogThatCannotBeCreatedFails) {
    platform::headless::DialogScript script;
    script.fail = true;
    platform::headless::QueueDialog(script);
    EXPECT_EQ(Execute(model.get()), -1);
    EXPECT_EQ(DestroyCount(), 0);
}

TEST_F(ExportPlugIn, BrowseOffersTheNifSaveDialog) {
    platform::headless::QueuePickerAnswer(std::nullopt);
    platform::headless::QueueDialog({{Press(1001), Press(kCancel)}});
    Execute(model.get());
    const auto& pickers = platform::headless::Pickers();
    ASSERT_EQ(pickers.size(), 1u);
    EXPECT_EQ(pickers[0].kind, platform::headless::RecordedPicker::kSaveFile);
    EXPECT_EQ(pickers[0].title, "Export NetImmerse NIF v4");
    EXPECT_EQ(pickers[0].filter, "NetImmerse NIF Files (*.nif)|*.nif|All Files (*.*)|*.*|");
    EXPECT_EQ(pickers[0].defaultExtension, "nif");
    EXPECT_EQ(pickers[0].flags, 0x00000002u | 0x00000004u | 0x00000800u);
}

TEST_F(ExportPlugIn, BrowseCancelledLeavesTheFieldAlone) {
    platform::headless::QueuePickerAnswer(std::nullopt);
    platform::headless::QueueDialog({{SetText(1000, "typed.nif"), Press(1001), Press(kCancel)}});
    Execute(model.get());
    EXPECT_EQ(platform::headless::LastDialogText(1000), "typed.nif");
}

TEST_F(ExportPlugIn, BrowsedPathIsExportedOnOk) {
    platform::headless::QueuePickerAnswer(Output());
    platform::headless::QueueDialog({{SetText(1000, "typed.nif"), Press(1001), Press(kOk)}});
    EXPECT_EQ(Execute(model.get()), 0);
    EXPECT_EQ(platform::headless::LastDialogText(1000), Output());
    EXPECT_TRUE(ScanOutput().complete);
}

TEST_F(ExportPlugIn, OptionButtonsChangeNothing) {
    platform::headless::QueueDialog({{SetText(1000, Output()), Press(kOk)}});
    ASSERT_EQ(Execute(model.get()), 0);
    const bytes::Bytes plain = OutputBytes();
    TestModel again;
    again.AddTriangleMesh("box", again.AddMaterial("wood", "a.bmp"));
    platform::headless::QueueDialog({{Press(1002), Press(1005), SetText(1000, Output()), Press(kOk)}});
    ASSERT_EQ(Execute(again.get()), 0);
    EXPECT_EQ(OutputBytes(), plain);
}

TEST_F(ExportPlugIn, NotificationsOtherThanClicksAreIgnored) {
    // Code 1 in the high word (for an edit field: it got the focus) with the OK id.
    platform::headless::QueueDialog({{SetText(1000, Output()), Press((1 << 16) | kOk)}});
    EXPECT_EQ(Execute(model.get()), -1);
    EXPECT_FALSE(TempFolder::Exists(Output()));
}

TEST_F(ExportPlugIn, EachRunStartsWithAnEmptyField) {
    platform::headless::QueueDialog({{SetText(1000, folder.Path("missing/x.nif")), Press(kOk)}});
    EXPECT_EQ(Execute(model.get()), -1);
    platform::headless::QueueDialog({{Press(kOk)}});
    EXPECT_EQ(Execute(model.get()), -1);
    EXPECT_EQ(plugIn.OutputFileName(), "");
}

TEST_F(ExportPlugIn, DialogActsOnTheObjectWhoseExecuteOpenedIt) {
    auto later = std::make_unique<CNifExportPlugIn>();
    platform::headless::QueueDialog({{SetText(1000, Output()), Press(kOk)}});
    EXPECT_EQ(Execute(model.get()), 0);
    EXPECT_EQ(plugIn.OutputFileName(), Output());
    EXPECT_EQ(later->OutputFileName(), "");
    later.reset();
    // The most recently created object is gone; the first still works.
    TestModel again;
    again.AddTriangleMesh("box", again.AddMaterial("wood", "a.bmp"));
    platform::headless::QueueDialog({{SetText(1000, Output()), Press(kOk)}});
    EXPECT_EQ(Execute(again.get()), 0);
}

TEST_F(ExportPlugIn, TheLibraryExportsCreatePlugIn) {
    const std::string path = std::string(NIF_BINARY_DIR) + "/bin/korbastel.so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) GTEST_SKIP() << "korbastel.so is not built: " << dlerror();
    auto create = reinterpret_cast<msCreatePlugInFunction>(dlsym(library, "CreatePlugIn"));
    ASSERT_NE(create, nullptr);
    msPlugInObject* object = create();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(msPlugIn_GetType(object), 2);
    EXPECT_STREQ(msPlugIn_GetTitle(object), "Korbastel <ALPHA>");
    platform::headless::QueueDialog({{SetText(1000, Output()), Press(kOk)}});
    EXPECT_EQ(msPlugIn_Execute(object, model.get()), 0);
    EXPECT_EQ(DestroyCount(), 1);
    msPlugIn_Delete(object);
    dlclose(library);
    EXPECT_TRUE(ScanOutput().complete);
}
