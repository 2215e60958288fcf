// The "Texture file names only" option: the key rule of both namings, the
// export run with the option on, and the dialog's check box with its memory.
#include <gtest/gtest.h>

#include "exporter/export_messages.h"
#include "exporter/texture_key.h"
#include "tests/exporter/export_fixture.h"

using platform::headless::Press;
using platform::headless::SetCheck;
using platform::headless::SetText;
using Strings = std::vector<std::string>;

namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kFileNamesOnlyBox = 1009;

std::vector<std::string> SourceNames(const scan::Scene& scene) {
    std::vector<std::string> names;
    for (const auto& block : scene.blocks) {
        if (block.type == "NiSourceTexture") names.push_back(block.fileName);
    }
    return names;
}

}  // namespace

TEST(TextureKeyRule, EachNamingGivesItsKey) {
    struct Case {
        const char* name;
        const char* asHeld;
        const char* fileNameOnly;
    };
    const Case cases[] = {
        {"wood.bmp", "wood.bmp", "wood.bmp"},
        {"C:\\Game\\Data Files\\Textures/tx_rope.dds", "C:\\Game\\Data Files\\Textures/tx_rope.dds", "tx_rope.dds"},
        {"tex/sub\\wood.bmp", "tex/sub\\wood.bmp", "wood.bmp"},
        {"/textures/crate.bmp", "/textures/crate.bmp", "crate.bmp"},
        {".\\wood.bmp", "wood.bmp", "wood.bmp"},
        {"..\\wood.bmp", "\\wood.bmp", "wood.bmp"},
        {".hidden.bmp", "idden.bmp", ".hidden.bmp"},  // no "." rule for file names only
        {"C:wood.bmp", "C:wood.bmp", "C:wood.bmp"},    // only "/" and "\" separate
        {"tex/", "tex/", ""},
        {"tex\\", "tex\\", ""},
        {".", "", "."},
        {"..", "", ".."},
        {"C:\\art\\..", "C:\\art\\..", ".."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextureKey(c.name), c.asHeld);
        EXPECT_EQ(TextureKey(c.name, TextureNaming::kAsHeld), c.asHeld);
        EXPECT_EQ(TextureKey(c.name, TextureNaming::kFileNameOnly), c.fileNameOnly);
    }
}

class FileNamesOnly : public ExportFixture {
protected:
    void SetUp() override {
        ExportFixture::SetUp();
        ConfirmedExportOptions().textureFileNamesOnly = true;
    }
};

TEST_F(FileNamesOnly, NamesThatDifferOnlyInTheirFoldersShareOneSource) {
    model.AddTriangleMesh("m0", model.AddMaterial("a", "C:\\Game\\Textures/rope.dds"));
    model.AddTriangleMesh("m1", model.AddMaterial("b", "D:/mods/rope.dds"));
    model.AddTriangleMesh("m2", model.AddMaterial("c", "rope.dds"));
    model.AddTriangleMesh("m3", model.AddMaterial("d", "C:\\Game\\Textures\\Rope.dds"));
    ASSERT_EQ(Export(Output()), 1);
    EXPECT_TRUE(MessageTexts().empty());
    const scan::Scene scene = ScanOutput();
    ASSERT_TRUE(scene.complete);
    // m3 (blocks 3-8) brings "Rope.dds" at 6, m2 (9-14) "rope.dds" at 12; m1 (15-19) and m0 (20-24) share 12.
    ASSERT_EQ(scene.blocks.size(), 25u);
    EXPECT_EQ(SourceNames(scene), (Strings{"Rope.dds", "rope.dds"}));
    EXPECT_EQ(scene.blocks[6].fileName, "Rope.dds");
    EXPECT_EQ(scene.blocks[12].fileName, "rope.dds");
    EXPECT_EQ(scene.blocks[17].sourceLink, 12);
    EXPECT_EQ(scene.blocks[22].sourceLink, 12);
    EXPECT_EQ(scene.blocks[0].children, (std::vector<int32_t>{3, 9, 15, 20}));
}

// Names the option turns into no file name at all are refused like an empty
// name, and the full name is still checked as before; without the option the
// names that had a file were written as before.
TEST_F(FileNamesOnly, NamesThatGiveNoFileAreRefused) {
    const char* const kNoTexture = "No texture specified, aborting export.";
    struct Case {
        std::string name;
        const char* message;         // with the option
        const char* writtenWithout;  // null: not tried without the option
    };
    const Case cases[] = {
        {"tex/", kNoTexture, "tex/"},
        {"C:\\tex\\", kNoTexture, "C:\\tex\\"},
        {".", kNoTexture, ""},
        {"..", kNoTexture, ""},
        {"C:\\art\\.", kNoTexture, "C:\\art\\."},
        {"a/..", kNoTexture, "a/.."},
        {"", kNoTexture, nullptr},
        {"tex/" + std::string(251, 't'), "Invalid texture filename, aborting export.", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::headless::Reset();
        TestModel local;
        local.AddTriangleMesh("m", local.AddMaterial("m", c.name));
        CNifExportPlugIn plugIn;
        plugIn.SetModel(local.get());
        plugIn.SetOutputFileName(Output());

        ConfirmedExportOptions().textureFileNamesOnly = true;
        EXPECT_EQ(plugIn.ExportModel(), 0);
        EXPECT_EQ(MessageTexts(), Strings{c.message});
        EXPECT_TRUE(folder.Entries().empty());
        if (!c.writtenWithout) continue;

        ConfirmedExportOptions().textureFileNamesOnly = false;
        ASSERT_EQ(plugIn.ExportModel(), 1);
        const scan::Scene scene = ScanOutput();
        ASSERT_TRUE(scene.complete);
        EXPECT_EQ(scene.blocks[6].fileName, c.writtenWithout);
        std::filesystem::remove(Output());
    }
}

// With the option only the source textures' names change: every other block
// is the same, byte for byte.
TEST_F(FileNamesOnly, EveryOtherBlockStaysTheSame) {
    model.AddTriangleMesh("rope", model.AddMaterial("r", "C:\\Game\\Data Files\\Textures/tx_rope.dds"));
    model.AddTriangleMesh("crate", model.AddMaterial("c", ".\\crate.bmp"));
    model.AddTriangleMesh("plank", model.AddMaterial("p", "/plank.tga"));
    ASSERT_EQ(Export(Output()), 1);
    const bytes::Bytes on = OutputBytes();
    ConfirmedExportOptions().textureFileNamesOnly = false;
    ASSERT_EQ(Export(Output()), 1);
    const bytes::Bytes off = OutputBytes();

    const scan::Scene withOption = scan::Scan(on);
    const scan::Scene without = scan::Scan(off);
    ASSERT_TRUE(withOption.complete);
    ASSERT_TRUE(without.complete);
    EXPECT_EQ(SourceNames(withOption), (Strings{"plank.tga", "crate.bmp", "tx_rope.dds"}));
    EXPECT_EQ(SourceNames(without), (Strings{"/plank.tga", "crate.bmp", "C:\\Game\\Data Files\\Textures/tx_rope.dds"}));
    ASSERT_EQ(scan::Types(withOption), scan::Types(without));
    for (size_t i = 0; i < without.blocks.size(); ++i) {
        if (without.blocks[i].type == "NiSourceTexture") continue;
        const scan::Block& a = withOption.blocks[i];
        const scan::Block& b = without.blocks[i];
        EXPECT_EQ(bytes::Slice(on, a.offset, a.size), bytes::Slice(off, b.offset, b.size)) << "block " << i;
    }
}

class FileNamesOnlyBox : public ExportFixture {
protected:
    void SetUp() override {
        ExportFixture::SetUp();
        model.AddTriangleMesh("box", model.AddMaterial("wood", "C:\\tex/a.bmp"));
    }
    int Execute(CNifExportPlugIn& plugIn, msModel* handle) { return msPlugIn_Execute(&plugIn, handle); }
    // Whether the next dialog opens with the box checked (it is cancelled).
    bool OpensChecked(CNifExportPlugIn& plugIn) {
        platform::headless::QueueDialog({{Press(kCancel)}});
        Execute(plugIn, model.get());
        return platform::headless::LastDialogChecked(kFileNamesOnlyBox);
    }

    CNifExportPlugIn plugIn;
};

// OK confirms the box as it is, even when the export then fails; Cancel and
// the close box keep what was confirmed before.
TEST_F(FileNamesOnlyBox, OpensAsLastConfirmed) {
    EXPECT_FALSE(OpensChecked(plugIn));
    struct Step {
        const char* what;
        platform::headless::DialogScript script;
        bool opensCheckedAfter;
    };
    const Step steps[] = {
        {"ticked, then Cancel", {{SetCheck(kFileNamesOnlyBox, true), Press(kCancel)}}, false},
        {"ticked, then the close box", {{SetCheck(kFileNamesOnlyBox, true), platform::headless::CloseBox()}}, false},
        {"ticked, then OK with no name", {{SetCheck(kFileNamesOnlyBox, true), Press(kOk)}}, true},
        {"untouched, then OK", {{Press(kOk)}}, true},
        {"cleared, then Cancel", {{SetCheck(kFileNamesOnlyBox, false), Press(kCancel)}}, true},
        {"cleared, then OK", {{SetCheck(kFileNamesOnlyBox, false), Press(kOk)}}, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        platform::headless::QueueDialog(step.script);
        EXPECT_EQ(Execute(plugIn, model.get()), -1);
        EXPECT_EQ(ConfirmedExportOptions().textureFileNamesOnly, step.opensCheckedAfter);
        EXPECT_EQ(OpensChecked(plugIn), step.opensCheckedAfter);
    }
    EXPECT_EQ(msModel_GetDestroyCount(model.get()), 0);
}

// The ticked box decides the run it confirms and the runs after it, whichever
// plug-in object of the library opens the dialog.
TEST_F(FileNamesOnlyBox, TickedBoxWritesFileNamesInThisAndLaterRuns) {
    platform::headless::QueueDialog({{SetText(1000, Output()), SetCheck(kFileNamesOnlyBox, true), Press(kOk)}});
    ASSERT_EQ(Execute(plugIn, model.get()), 0);
    EXPECT_EQ(SourceNames(ScanOutput()), Strings{"a.bmp"});

    CNifExportPlugIn another;
    TestModel again;
    again.AddTriangleMesh("box", again.AddMaterial("wood", "D:/other/b.bmp"));
    platform::headless::QueueDialog({{SetText(1000, Output()), Press(kOk)}});
    ASSERT_EQ(Execute(another, again.get()), 0);
    EXPECT_TRUE(platform::headless::LastDialogChecked(kFileNamesOnlyBox));
    EXPECT_EQ(SourceNames(ScanOutput()), Strings{"b.bmp"});
}
