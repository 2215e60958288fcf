// Every public real file of the shared corpus: files made only of the 27
// readable types load; every other file is rejected naming a type outside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "importer/nif/nif_block.h"
#include "tests/reader/reader_test_support.h"
#include "tests/support/shared_corpus.h"

namespace {

const std::set<std::string> kReadableTypes = {
    "NiNode", "NiBSAnimationNode", "NiBSParticleNode", "RootCollisionNode", "NiTriShape", "NiTriShapeData",
    "NiTexturingProperty", "NiSourceTexture", "NiMaterialProperty", "NiVertexColorProperty", "NiAlphaProperty",
    "NiZBufferProperty", "NiSkinInstance", "NiSkinData", "NiKeyframeController", "NiKeyframeData",
    "NiGeomMorpherController", "NiMorphData", "NiUVController", "NiUVData", "NiRotatingParticles",
    "NiRotatingParticlesData", "NiParticleSystemController", "NiParticleGrowFade", "NiTextureEffect",
    "NiStringExtraData", "NiTextKeyExtraData"};

struct CorpusEntry {
    std::string file;
    std::vector<std::string> types;
};

std::vector<CorpusEntry> ReadBlockTypeList(const std::filesystem::path& list) {
    std::vector<CorpusEntry> entries;
    std::ifstream in(list);
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        CorpusEntry entry;
        std::string types;
        if (!std::getline(fields, entry.file, '\t')) continue;
        std::getline(fields, types);
        std::istringstream names(types);
        for (std::string name; names >> name;) entry.types.push_back(name);
        entries.push_back(entry);
    }
    return entries;
}

std::vector<unsigned char> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

TEST(RealFiles, ReadableFilesLoadAndOthersNameAnUnknownType) {
    const std::filesystem::path corpus = std::filesystem::path(NIF_SHARED_DIR) / "corpus";
    NIF_NEED_SHARED_CORPUS("block-types.tsv");
    const std::vector<CorpusEntry> entries = ReadBlockTypeList(corpus / "block-types.tsv");
    ASSERT_FALSE(entries.empty());

    int loaded = 0, rejected = 0, readableFiles = 0;
    std::map<std::string, int> rejectedBy;
    for (const CorpusEntry& entry : entries) {
        SCOPED_TRACE(entry.file);
        bool readable = true;
        for (const std::string& type : entry.types) readable = readable && kReadableTypes.count(type) > 0;
        readableFiles += readable;

        const std::vector<unsigned char> bytes = ReadWholeFile(corpus / "nif" / entry.file);
        ASSERT_FALSE(bytes.empty());
        platform::headless::Reset();
        DebugPrinter printer;
        Qiv_Stream stream(&printer);
        stream.OpenBytes(bytes.data(), bytes.size(), entry.file.c_str());
        std::string failure;
        try {
            NifFile file(&stream);
            ++loaded;
            EXPECT_GT(file.GetBlockCount(), 0);
        } catch (const TextException& error) {
            failure = error.Text();
        }
        if (readable) {
            EXPECT_EQ(failure, "");
            continue;
        }
        const std::string prefix = "Unknown Block type '", suffix = "'.";
        ASSERT_EQ(failure.rfind(prefix, 0), 0u) << failure;
        const std::string named = failure.substr(prefix.size(), failure.size() - prefix.size() - suffix.size());
        EXPECT_EQ(kReadableTypes.count(named), 0u) << named;
        ++rejected;
        ++rejectedBy[named];
    }
    std::cout << "real files: " << entries.size() << ", readable types only: " << readableFiles << ", loaded: " << loaded
              << ", rejected: " << rejected << "\n";
    for (const auto& [name, count] : rejectedBy) std::cout << "  rejected naming " << name << ": " << count << "\n";
    EXPECT_EQ(loaded, readableFiles);
    EXPECT_EQ(loaded + rejected, static_cast<int>(entries.size()));
}

}  // namespace
