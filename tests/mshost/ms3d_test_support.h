// Helpers shared by the .ms3d tests: a scratch folder, the records of a file, and
// text dumps that compare models and files exactly (floats by bit pattern).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "host/msLib.h"
#include "mshost/cli/commands.h"
#include "mshost/formats/ms3d_format.h"
#include "mshost/model/model_control.h"

namespace ms3dtest {

// A folder of its own for each test, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("ms3d_" + std::to_string(getpid()) + "_" + test->test_suite_name() + "_" + test->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// The records of the .ms3d file at `path` (a failed parse fails the test).
inline ms3d::File ReadRecords(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    std::string bytes = content.str(), error;
    ms3d::File file;
    EXPECT_TRUE(ms3d::ParseFile(bytes.data(), bytes.size(), path.c_str(), &file, &error)) << error;
    return file;
}

inline void Bits(std::string* out, const float* values, int count) {
    char text[16];
    for (int i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, " %08X", std::bit_cast<uint32_t>(values[i]));
        *out += text;
    }
}

// Every byte shown, so names differing only in non-printing bytes still differ.
inline void Text(std::string* out, const std::string& text) {
    char hex[4];
    *out += " \"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '"') {
            *out += static_cast<char>(c);
        } else {
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            *out += hex;
        }
    }
    *out += "\"";
}

template <typename Handle>
std::string Get(void (*getter)(Handle*, char*, int), Handle* handle) {
    char buffer[300] = {};
    getter(handle, buffer, 299);
    return buffer;
}

// Everything the model library holds for `model`, one item per line.
inline std::string DumpModel(msModel* model) {
    std::string out;
    for (int i = 0; i < msModel_GetMaterialCount(model); ++i) {
        msMaterial* material = msModel_GetMaterialAt(model, i);
        float rgba[4];
        out += "material";
        Text(&out, Get(msMaterial_GetName, material));
        msMaterial_GetAmbient(material, rgba);
        Bits(&out, rgba, 4);
        msMaterial_GetDiffuse(material, rgba);
        Bits(&out, rgba, 4);
        msMaterial_GetSpecular(material, rgba);
        Bits(&out, rgba, 4);
        msMaterial_GetEmissive(material, rgba);
        Bits(&out, rgba, 4);
        float shininess = msMaterial_GetShininess(material), transparency = msMaterial_GetTransparency(material);
        Bits(&out, &shininess, 1);
        Bits(&out, &transparency, 1);
        Text(&out, Get(msMaterial_GetDiffuseTexture, material));
        out += "\n";
    }
    for (int m = 0; m < msModel_GetMeshCount(model); ++m) {
        msMesh* mesh = msModel_GetMeshAt(model, m);
        out += "mesh";
        Text(&out, Get(msMesh_GetName, mesh));
        out += " material " + std::to_string(msMesh_GetMaterialIndex(mesh)) + "\n";
        for (int v = 0; v < msMesh_GetVertexCount(mesh); ++v) {
            float xyz[3], uv[2];
            msVertex_GetVertex(msMesh_GetVertexAt(mesh, v), xyz);
            msVertex_GetTexCoords(msMesh_GetVertexAt(mesh, v), uv);
            out += " vertex";
            Bits(&out, xyz, 3);
            Bits(&out, uv, 2);
            out += "\n";
        }
        for (int n = 0; n < msMesh_GetVertexNormalCount(mesh); ++n) {
            float normal[3];
            msMesh_GetVertexNormalAt(mesh, n, normal);
            out += " normal";
            Bits(&out, normal, 3);
            out += "\n";
        }
        for (int t = 0; t < msMesh_GetTriangleCount(mesh); ++t) {
            word vertices[3], normals[3];
            msTriangle_GetVertexIndices(msMesh_GetTriangleAt(mesh, t), vertices);
            msTriangle_GetNormalIndices(msMesh_GetTriangleAt(mesh, t), normals);
            out += " triangle";
            for (word index : vertices) out += " " + std::to_string(index);
            out += " /";
            for (word index : normals) out += " " + std::to_string(index);
            out += "\n";
        }
    }
    for (int b = 0; b < msModel_GetBoneCount(model); ++b) {
        msBone* bone = msModel_GetBoneAt(model, b);
        float xyz[3];
        out += "bone";
        Text(&out, Get(msBone_GetName, bone));
        Text(&out, Get(msBone_GetParentName, bone));
        msBone_GetPosition(bone, xyz);
        Bits(&out, xyz, 3);
        msBone_GetRotation(bone, xyz);
        Bits(&out, xyz, 3);
        out += "\n";
    }
    return out;
}

// The fields of a file that map to the host model, as the host holds them
// (names at most 31 characters, texture paths at most 127 after a save):
// groups with their triangles corner by corner, materials, joints.
inline std::string MappedFields(const ms3d::File& file) {
    auto name = [](const std::string& text) { return text.substr(0, 31); };
    std::string out;
    for (const ms3d::Group& group : file.groups) {
        out += "group";
        Text(&out, name(group.name));
        out += " material " + std::to_string(group.materialIndex) + "\n";
        for (uint16_t index : group.triangleIndices) {
            const ms3d::Triangle& triangle = file.triangles[index];
            for (int c = 0; c < 3; ++c) {
                out += " corner";
                Bits(&out, file.vertices[triangle.vertexIndices[c]].position, 3);
                Bits(&out, &triangle.s[c], 1);
                Bits(&out, &triangle.t[c], 1);
                Bits(&out, triangle.normals[c], 3);
                out += "\n";
            }
        }
    }
    for (const ms3d::Material& material : file.materials) {
        out += "material";
        Text(&out, name(material.name));
        Bits(&out, material.ambient, 4);
        Bits(&out, material.diffuse, 4);
        Bits(&out, material.specular, 4);
        Bits(&out, material.emissive, 4);
        Bits(&out, &material.shininess, 1);
        Bits(&out, &material.transparency, 1);
        Text(&out, material.texture.substr(0, 127));
        out += "\n";
    }
    for (const ms3d::Joint& joint : file.joints) {
        out += "joint";
        Text(&out, name(joint.name));
        Text(&out, name(joint.parentName));
        Bits(&out, joint.rotation, 3);
        Bits(&out, joint.position, 3);
        out += "\n";
    }
    return out;
}

// A plug-in as mshost finds it by default: next to the running program (the
// test executable sits with the plug-ins in the build's bin folder).
inline std::string PlugInNextToUs(const char* name) {
    return (std::filesystem::canonical("/proc/self/exe").parent_path() / (std::string(name) + ".so")).string();
}

#define SKIP_WITHOUT_PLUGIN(name)                                                                     \
    if (!std::filesystem::exists(ms3dtest::PlugInNextToUs(name)))                                     \
    GTEST_SKIP() << ms3dtest::PlugInNextToUs(name) << " is not built (build the " name " target first)"

struct CommandResult {
    int status = 0;
    std::string out;
    std::string err;
};

// Runs the mshost command in this process, exactly as its main does.
inline CommandResult Mshost(const std::vector<std::string>& args) {
    CommandResult result;
    result.status = mshost::RunMshost(args, &result.out, &result.err);
    return result;
}

// The message box the exporter shows for `model`, or "" when its rules let
// the model through: meshes and materials present, and from the last mesh
// to the first, a material with a texture path shorter than 255 characters.
inline std::string ExpectedExportMessage(msModel* model) {
    if (msModel_GetMeshCount(model) <= 0) return "Fatal error: Model has no mesh data,\nexport aborted.";
    if (msModel_GetMaterialCount(model) <= 0) return "Fatal error: Model has no materials,\nexport aborted.";
    for (int m = msModel_GetMeshCount(model) - 1; m >= 0; --m) {
        int material = msMesh_GetMaterialIndex(msModel_GetMeshAt(model, m));
        if (material == -1) return "Fatal error: Material has no texture";
        std::string texture = Get(msMaterial_GetDiffuseTexture, msModel_GetMaterialAt(model, material));
        if (texture.empty()) return "No texture specified, aborting export.";
        if (texture.size() >= 255) return "Invalid texture filename, aborting export.";
    }
    return "";
}

// Mesh i of an imported exported model is host mesh count - 1 - i: the
// exporter writes the meshes from the last to the first.
inline void ExpectSameCountsReversed(msModel* exported, msModel* imported) {
    int count = msModel_GetMeshCount(exported);
    ASSERT_EQ(msModel_GetMeshCount(imported), count);
    for (int i = 0; i < count; ++i) {
        msMesh* original = msModel_GetMeshAt(exported, count - 1 - i);
        msMesh* back = msModel_GetMeshAt(imported, i);
        EXPECT_EQ(msMesh_GetVertexCount(back), msMesh_GetVertexCount(original)) << "mesh " << i;
        EXPECT_EQ(msMesh_GetTriangleCount(back), msMesh_GetTriangleCount(original)) << "mesh " << i;
    }
}

}  // namespace ms3dtest
