#include "tests/hostile/damaged_files.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "tests/hostile/generated_nifs.h"
#include "tests/hostile/hostile_support.h"

namespace hostile {

std::vector<NamedFile> GeneratedAndSampleFiles() {
    std::vector<NamedFile> files = {{"textured_shape", generated::TexturedShape().Bytes()},
                                    {"nested_nodes", generated::NestedNodes().Bytes()},
                                    {"particles", generated::Particles().Bytes()}};
    for (const char* sample : {"crate.nif", "shared_texture.nif", "skinned_arm.nif"}) {
        std::vector<unsigned char> bytes = ReadFileBytes(ExamplePath(sample));
        if (!bytes.empty()) files.push_back({sample, std::move(bytes)});
    }
    return files;
}

const std::vector<std::string>& KnownTypeNames() {
    static const std::vector<std::string> names = {
        "NiNode", "NiBSAnimationNode", "NiBSParticleNode", "RootCollisionNode", "NiTriShape", "NiTriShapeData",
        "NiTexturingProperty", "NiSourceTexture", "NiMaterialProperty", "NiVertexColorProperty", "NiAlphaProperty",
        "NiZBufferProperty", "NiSkinInstance", "NiSkinData", "NiKeyframeController", "NiKeyframeData",
        "NiGeomMorpherController", "NiMorphData", "NiUVController", "NiUVData", "NiRotatingParticles",
        "NiRotatingParticlesData", "NiParticleSystemController", "NiParticleGrowFade", "NiTextureEffect",
        "NiStringExtraData", "NiTextKeyExtraData"};
    return names;
}

std::vector<TypeExample> SmallestSharedFilePerType() {
    std::vector<TypeExample> examples;
    if (!SharedCorpusPresent()) return examples;
    const std::set<std::string> known(KnownTypeNames().begin(), KnownTypeNames().end());
    std::ifstream table(std::string(NIF_SHARED_DIR) + "/corpus/block-types.tsv");
    std::map<std::string, std::pair<size_t, std::string>> smallest;  // type -> (size, file name)
    std::string line;
    std::getline(table, line);  // column names
    while (std::getline(table, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::string file = line.substr(0, tab);
        std::istringstream types(line.substr(tab + 1));
        std::vector<std::string> names;
        for (std::string name; types >> name;) names.push_back(name);
        if (!std::all_of(names.begin(), names.end(), [&](const std::string& n) { return known.count(n) != 0; })) continue;
        std::ifstream sizeProbe(SharedNifPath(file), std::ios::binary | std::ios::ate);
        const size_t size = static_cast<size_t>(sizeProbe.tellg());
        for (const std::string& name : names) {
            auto found = smallest.find(name);
            if (found == smallest.end() || size < found->second.first) smallest[name] = {size, file};
        }
    }
    for (const auto& [type, choice] : smallest) examples.push_back({type, {choice.second, ReadFileBytes(SharedNifPath(choice.second))}});
    return examples;
}

std::vector<BlockSpan> FindBlocks(const std::vector<unsigned char>& bytes) {
    std::vector<BlockSpan> blocks;
    for (size_t at = 0; at + 4 < bytes.size(); ++at) {
        int32_t length;
        std::memcpy(&length, &bytes[at], 4);
        if (length < 6 || length > 30 || at + 4 + static_cast<size_t>(length) > bytes.size()) continue;
        const std::string text(reinterpret_cast<const char*>(&bytes[at + 4]), static_cast<size_t>(length));
        const auto& names = KnownTypeNames();
        if (std::find(names.begin(), names.end(), text) == names.end()) continue;
        if (!blocks.empty()) blocks.back().end = at;
        blocks.push_back({text, at, at + 4 + text.size(), 0});
        at += 3 + text.size();
    }
    // The footer: the root count and, in every file here, one root index.
    if (!blocks.empty()) blocks.back().end = bytes.size() >= 8 ? bytes.size() - 8 : bytes.size();
    return blocks;
}

bool IsReaderMessage(const std::string& text) {
    static const std::vector<std::regex> forms = {
        std::regex(R"(Attempted to (copy|skip) too much data \(-?\d+ bytes\)\.)"),
        std::regex(R"(Unexpected (Long|Short|Byte) value - was 0x[0-9A-F]+ \(-?\d+\) expected 0x[0-9A-F]+ \(-?\d+\))"),
        std::regex(R"(Unknown Block type '[\s\S]*'\.)"),
        std::regex(R"(File data left at end of file - \d+ bytes left)"),
        std::regex(R"(Unable to find end of String\.)"),
        std::regex(R"(Scene graph nested too deeply \(more than 1000 levels\)\.)"),
        std::regex(R"(Scene graph too large \(more than 1000000 block visits\)\.)"),
    };
    return std::any_of(forms.begin(), forms.end(), [&](const std::regex& form) { return std::regex_match(text, form); });
}

}  // namespace hostile
