// The mshost command line: commands, positional arguments, the options each
// command accepts, and the usage errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mshost/cli/command_line.h"

namespace {

using mshost::CommandLine;

CommandLine Parsed(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    EXPECT_TRUE(mshost::ParseCommandLine(args, &line, &error)) << error;
    return line;
}

std::string Rejected(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    EXPECT_FALSE(mshost::ParseCommandLine(args, &line, &error));
    return error;
}

TEST(CommandLine, CheckTakesOneOrMorePaths) {
    const CommandLine line = Parsed({"check", "crate.nif"});
    EXPECT_EQ(line.command, CommandLine::kCheck);
    EXPECT_EQ(line.input, "crate.nif");
    EXPECT_EQ(line.paths, std::vector<std::string>{"crate.nif"});
    EXPECT_EQ(Parsed({"check", "models", "--", "-x.nif", "a.nif"}).paths,
              (std::vector<std::string>{"models", "-x.nif", "a.nif"}));
}

TEST(CommandLine, RenderTakesAModelAndItsOwnOptions) {
    const CommandLine line = Parsed({"render", "--size=64", "arm.NIF", "--apply-transforms", "--png", "arm.png"});
    EXPECT_EQ(line.command, CommandLine::kRender);
    EXPECT_EQ(line.input, "arm.NIF");
    EXPECT_EQ(line.pngOut.value_or("?"), "arm.png");
    EXPECT_TRUE(line.applyTransforms);
    EXPECT_EQ(line.pictureWidth, 64);
    const CommandLine plain = Parsed({"render", "quad.json", "--png", "q.png"});
    EXPECT_FALSE(plain.applyTransforms);
    EXPECT_EQ(plain.pictureWidth, CommandLine::kDefaultPictureWidth);
    // --size: a whole number of pixels within the limits.
    for (const char* size : {"16", "2048", "0400"}) EXPECT_TRUE(Parsed({"render", "m.json", "--png", "p.png", "--size", size}).pictureWidth > 0);
    for (const char* size : {"15", "2049", "", "12a", "-20", "1e3", "99999999999"}) {
        EXPECT_EQ(Rejected({"render", "m.json", "--png", "p.png", "--size", size}),
                  std::string("--size takes a width in pixels from 16 to 2048, got '") + size + "'");
    }
}

TEST(CommandLine, ImportTakesItsOptionsInAnyOrder) {
    const CommandLine line =
        Parsed({"import", "--summary", "--textures", "tex", "crate.nif", "--model", "in.json", "--save", "out.json"});
    EXPECT_EQ(line.command, CommandLine::kImport);
    EXPECT_EQ(line.input, "crate.nif");
    EXPECT_EQ(line.textures.value_or("?"), "tex");
    EXPECT_EQ(line.modelIn.value_or("?"), "in.json");
    EXPECT_EQ(line.saveOut.value_or("?"), "out.json");
    EXPECT_TRUE(line.summary);
    EXPECT_FALSE(line.plugIn.has_value());
}

TEST(CommandLine, ImportWithoutOptionsLeavesThemUnset) {
    const CommandLine line = Parsed({"import", "crate.nif"});
    EXPECT_FALSE(line.textures.has_value());
    EXPECT_FALSE(line.modelIn.has_value());
    EXPECT_FALSE(line.saveOut.has_value());
    EXPECT_FALSE(line.summary);
}

TEST(CommandLine, ApplyTransformsIsAnImportSwitch) {
    EXPECT_TRUE(Parsed({"import", "--apply-transforms", "crate.nif"}).applyTransforms);
    EXPECT_FALSE(Parsed({"import", "crate.nif"}).applyTransforms);
    EXPECT_EQ(Rejected({"export", "m.json", "o.nif", "--apply-transforms"}),
              "unknown option '--apply-transforms' for export");
    EXPECT_EQ(Rejected({"import", "--apply-transforms=1", "crate.nif"}), "unknown option '--apply-transforms' for import");
}

TEST(CommandLine, ExportTakesModelAndOutput) {
    const CommandLine line = Parsed({"export", "model.json", "out.nif", "--plugin", "/x/korbastel.so"});
    EXPECT_EQ(line.command, CommandLine::kExport);
    EXPECT_EQ(line.input, "model.json");
    EXPECT_EQ(line.output, "out.nif");
    EXPECT_EQ(line.plugIn.value_or("?"), "/x/korbastel.so");
}

TEST(CommandLine, OnlyExportTakesTextureNamesOnly) {
    EXPECT_FALSE(Parsed({"export", "model.json", "out.nif"}).textureNamesOnly);
    const CommandLine line = Parsed({"export", "--texture-names-only", "model.json", "out.nif"});
    EXPECT_TRUE(line.textureNamesOnly);
    EXPECT_EQ(line.input, "model.json");
    EXPECT_EQ(line.output, "out.nif");
    EXPECT_EQ(Rejected({"import", "a.nif", "--texture-names-only"}),
              "unknown option '--texture-names-only' for import");
}

TEST(CommandLine, DoubleDashEndsOptionsAndASingleDashIsAFile) {
    EXPECT_EQ(Parsed({"import", "--", "--summary"}).input, "--summary");
    EXPECT_EQ(Parsed({"check", "-"}).input, "-");
}

TEST(CommandLine, HelpAndVersionAreCommandsAndEachCommandHasItsHelp) {
    EXPECT_EQ(Parsed({"--help"}).command, CommandLine::kHelp);
    EXPECT_EQ(Parsed({"--version"}).command, CommandLine::kVersion);
    const CommandLine importHelp = Parsed({"import", "--help"});
    EXPECT_EQ(importHelp.command, CommandLine::kImport);
    EXPECT_TRUE(importHelp.help);
    EXPECT_TRUE(Parsed({"export", "-h"}).help);
    EXPECT_FALSE(Parsed({"check", "a.nif"}).help);
}

TEST(CommandLine, OptionValuesMayFollowAnEqualsSign) {
    const CommandLine line = Parsed({"import", "a.nif", "--save=out.json", "--textures=", "--model=x=y.json"});
    EXPECT_EQ(line.saveOut.value_or("?"), "out.json");
    EXPECT_EQ(line.textures.value_or("?"), "");
    EXPECT_EQ(line.modelIn.value_or("?"), "x=y.json");
    EXPECT_EQ(Rejected({"import", "a.nif", "--save=a.json", "--save", "b.json"}), "option --save given twice");
    EXPECT_EQ(Rejected({"import", "a.nif", "--sav=a.json"}), "unknown option '--sav' for import");
}

TEST(CommandLine, RejectsUsageProblemsWithOneLine) {
    EXPECT_EQ(Rejected({}), "no command given");
    EXPECT_EQ(Rejected({"convert", "a.nif"}), "unknown command 'convert'");
    EXPECT_EQ(Rejected({"check"}), "check takes 1 or more paths, got 0");
    EXPECT_EQ(Rejected({"render", "m.json"}), "render needs --png OUT.png");
    EXPECT_EQ(Rejected({"render", "m.json", "--png", "m.png", "--apply-transforms"}),
              "--apply-transforms is an option of the importer: 'm.json' is not a .nif");
    EXPECT_EQ(Rejected({"render", "a.nif", "--png", "a.png", "--summary"}), "unknown option '--summary' for render");
    EXPECT_EQ(Rejected({"export", "model.json"}), "export takes 2 file arguments, got 1");
    EXPECT_EQ(Rejected({"check", "a.nif", "--summary"}), "unknown option '--summary' for check");
    EXPECT_EQ(Rejected({"export", "m.json", "o.nif", "--textures", "t"}), "unknown option '--textures' for export");
    EXPECT_EQ(Rejected({"import", "a.nif", "--save"}), "option --save needs a value");
    EXPECT_EQ(Rejected({"import", "a.nif", "--save", "x", "--save", "y"}), "option --save given twice");
    EXPECT_EQ(Rejected({"--help", "x"}), "help takes no arguments");
    EXPECT_EQ(Rejected({"--version", "x"}), "version takes no arguments");
}

}  // namespace
