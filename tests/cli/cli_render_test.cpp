// mshost render as a program: pictures of the sample files and of a real
// file that are PNG files with a model in them, the same bytes on every run,
// and the exit statuses and stderr lines of inputs and outputs it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "nif_builder/nif_builder.h"
#include "quad_model.h"
#include "run_process.h"
#include "tests/exporter/temp_folder.h"
#include "tests/support/shared_corpus.h"

namespace {

ProcessResult Mshost(const std::vector<std::string>& args) { return RunProcess(MSHOST_PATH, args); }

std::string Example(const char* name) { return std::string(EXAMPLES_DIR) + "/" + name; }

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

// Width and height from a PNG file's header chunk.
std::pair<int, int> PngSize(const std::string& png) {
    auto big = [&](size_t at) {
        return static_cast<int>(static_cast<unsigned char>(png[at]) << 24 | static_cast<unsigned char>(png[at + 1]) << 16 |
                                static_cast<unsigned char>(png[at + 2]) << 8 | static_cast<unsigned char>(png[at + 3]));
    };
    return png.size() < 24 ? std::pair{0, 0} : std::pair{big(16), big(20)};
}

// Renders `model` into a fresh file of `folder` and returns its bytes (empty on failure).
std::string Rendered(const TempFolder& folder, const std::string& model, const std::string& name,
                     std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"render", model, "--png", folder.Path(name)};
    args.insert(args.end(), extra.begin(), extra.end());
    const ProcessResult result = Mshost(args);
    EXPECT_EQ(result.status, 0) << model << ": " << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    return TempFolder::ReadAll(folder.Path(name));
}

TEST(CliRender, SamplesGiveDeterministicPicturesOfTheirOwn) {
    TempFolder folder;
    TempFolder::WriteAll(folder.Path("quad.json"), kQuadModel);
    std::vector<std::string> pictures;
    for (const std::string& model : {Example("crate.nif"), Example("shared_texture.nif"), Example("skinned_arm.nif"),
                                     folder.Path("quad.json")}) {
        const std::string first = Rendered(folder, model, "first.png");
        const std::string second = Rendered(folder, model, "second.png");
        EXPECT_EQ(first.compare(0, 8, kPngSignature, 8), 0) << model;
        EXPECT_EQ(PngSize(first), (std::pair{400, 300})) << model;
        EXPECT_EQ(first, second) << model;
        pictures.push_back(first);
    }
    // Each model its own picture, and none of them the empty model's.
    TempFolder::WriteAll(folder.Path("empty.json"), "{}");
    pictures.push_back(Rendered(folder, folder.Path("empty.json"), "empty.png"));
    for (size_t i = 0; i < pictures.size(); ++i) {
        for (size_t j = i + 1; j < pictures.size(); ++j) EXPECT_NE(pictures[i], pictures[j]) << i << " " << j;
    }
    EXPECT_EQ(PngSize(Rendered(folder, Example("crate.nif"), "small.png", {"--size=64"})), (std::pair{64, 48}));
}

TEST(CliRender, SceneTransformsMoveThePartsOnlyWithTheOption) {
    // Two nodes, moved apart by their transforms, each holding a shape of the
    // same triangle: without the box both parts lie on one another.
    NifBuilder nif;
    nif.FileStart(7);
    NodeBlock(nif, "Root", {1, 3});
    NodeBlock(nif, "Left", {2}, {}, -1, -1, {}, PlacedAt({-3, 0, 0}));
    TriShapeBlock(nif, "LeftShape", 5);
    NodeBlock(nif, "Right", {4}, {}, -1, -1, {}, PlacedAt({3, 0, 2}));
    TriShapeBlock(nif, "RightShape", 6);
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 1}));
    TriShapeDataBlock(nif, TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 1}));
    nif.Footer();
    TempNifFile file(nif);
    TempFolder folder;
    const std::string plain = Rendered(folder, file.Path(), "plain.png");
    const std::string placed = Rendered(folder, file.Path(), "placed.png", {"--apply-transforms"});
    EXPECT_NE(plain, placed);
    EXPECT_EQ(placed, Rendered(folder, file.Path(), "again.png", {"--apply-transforms"}));
}

TEST(CliRender, RealFileGivesAPictureOfItsShapes) {
    NIF_NEED_SHARED_CORPUS("nif");
    // The first corpus file that import takes, whichever it is.
    TempFolder folder;
    for (const auto& entry : std::filesystem::directory_iterator(shared_corpus::Folder() / "nif")) {
        const std::string path = entry.path().string();
        if (Mshost({"import", path, "--summary"}).status != 0) continue;
        const std::string picture = Rendered(folder, path, "real.png");
        TempFolder::WriteAll(folder.Path("empty.json"), "{}");
        EXPECT_NE(picture, Rendered(folder, folder.Path("empty.json"), "empty.png")) << path;
        return;
    }
    FAIL() << "no corpus file imports";
}

TEST(CliRender, RefusedInputsAndOutputsExitAsImportDoesAndWriteNothing) {
    TempFolder folder;
    TempFolder::WriteAll(folder.Path("quad.json"), kQuadModel);
    TempFolder::WriteAll(folder.Path("bad.nif"), "NetImmerse File Format, Version 4.0.0.1\n");
    std::filesystem::create_directory(folder.Path("folder.png"));
    const std::string png = folder.Path("out.png");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;  // after "mshost: "
    } cases[] = {
        {{folder.Path("missing.nif"), "--png", png}, 3,
         "import of '" + folder.Path("missing.nif") + "' failed: Unable to open file '" + folder.Path("missing.nif") +
             "'."},
        {{folder.Path("bad.nif"), "--png", png}, 3,
         "import of '" + folder.Path("bad.nif") +
             "' failed: Unexpected String Data 'NetImmerse File Format, Version 4.0.0.1' expected 'NetImmerse File "
             "Format, Version 4.0.0.2'"},
        {{folder.Path("missing.json"), "--png", png}, 2,
         "cannot open '" + folder.Path("missing.json") + "': No such file or directory"},
        {{folder.Path("quad.txt"), "--png", png}, 2,
         "'" + folder.Path("quad.txt") + "': unknown model format (known: .json, .ms3d)"},
        {{folder.Path("quad.json"), "--png", folder.Path("out.jpg")}, 2,
         "'" + folder.Path("out.jpg") + "': a picture is written as .png"},
        {{folder.Path("quad.json"), "--png", folder.Path("nodir/out.png")}, 2,
         "cannot create '" + folder.Path("nodir/out.png") + "': No such file or directory"},
        {{folder.Path("quad.json"), "--png", folder.Path("quad.json/out.png")}, 2,
         "cannot create '" + folder.Path("quad.json/out.png") + "': Not a directory"},
        {{folder.Path("quad.json"), "--png", folder.Path("folder.png")}, 2,
         "cannot replace '" + folder.Path("folder.png") + "': not a regular file"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"render"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult result = Mshost(args);
        EXPECT_EQ(result.status, c.status) << c.args[0];
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "mshost: " + c.err + "\n");
    }
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"bad.nif", "folder.png", "quad.json"}));
}

}  // namespace
