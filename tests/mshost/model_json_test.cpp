// Model JSON: exact layout and key order, the float and byte-string rules,
// defaults for absent fields, one-line errors, and loss-free round trips.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

#include "host/msLib.h"
#include "mshost/files/file_io.h"
#include "mshost/formats/json_writer.h"
#include "mshost/formats/model_files.h"
#include "mshost/formats/model_json.h"
#include "mshost/model/model_control.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

float FromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

std::string ReadError(const std::string& text) {
    ModelPtr model = MakeModel();
    std::string error;
    EXPECT_FALSE(mshost::ReadModelJson(text, model.get(), &error)) << text;
    return error;
}

ModelPtr ReadOk(const std::string& text) {
    ModelPtr model = MakeModel();
    std::string error;
    EXPECT_TRUE(mshost::ReadModelJson(text, model.get(), &error)) << error;
    return model;
}

TEST(JsonFloat, WritesTheShortestTextThatReadsBack) {
    EXPECT_EQ(mshost::JsonFloat(0.1f), "0.1");
    EXPECT_EQ(mshost::JsonFloat(1.0f / 3.0f), "0.33333334");
    EXPECT_EQ(mshost::JsonFloat(2.0f), "2");
    EXPECT_EQ(mshost::JsonFloat(16777216.0f), "16777216");
    EXPECT_EQ(mshost::JsonFloat(1e20f), "1e+20");
    EXPECT_EQ(mshost::JsonFloat(FLT_MAX), "3.4028235e+38");
    EXPECT_EQ(mshost::JsonFloat(FromBits(1)), "1e-45");
    EXPECT_EQ(mshost::JsonFloat(-0.0f), "-0");
}

TEST(JsonFloat, WritesNaNAndInfinitiesAsStrings) {
    EXPECT_EQ(mshost::JsonFloat(std::numeric_limits<float>::quiet_NaN()), "\"NaN\"");
    EXPECT_EQ(mshost::JsonFloat(-std::numeric_limits<float>::quiet_NaN()), "\"NaN\"");
    EXPECT_EQ(mshost::JsonFloat(std::numeric_limits<float>::infinity()), "\"Infinity\"");
    EXPECT_EQ(mshost::JsonFloat(-std::numeric_limits<float>::infinity()), "\"-Infinity\"");
}

TEST(JsonByteString, KeepsPrintableAsciiAndEscapesQuoteAndBackslash) {
    EXPECT_EQ(mshost::JsonByteString("a\"b\\c ~"), "\"a\\\"b\\\\c ~\"");
}

TEST(JsonByteString, WritesEveryOtherByteAsU00XX) {
    EXPECT_EQ(mshost::JsonByteString(std::string("\x00\x1f\x7f\x80\xe9\xff\n", 7)),
              "\"\\u0000\\u001f\\u007f\\u0080\\u00e9\\u00ff\\u000a\"");
}

TEST(ModelJson, WritesAnEmptyModelWithItsThreeLists) {
    ModelPtr model = MakeModel();
    EXPECT_EQ(mshost::ModelJsonText(model.get()), "{\n  \"meshes\": [],\n  \"materials\": [],\n  \"bones\": []\n}\n");
}

TEST(ModelJson, WritesEveryFieldInItsFixedOrder) {
    ModelPtr model = MakeModel();
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh_SetName(mesh, "Box");
    msMesh_SetMaterialIndex(mesh, 0);
    msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
    float xyz[3] = {1.5f, -2, 0.25f};
    float uv[2] = {0.5f, 1};
    msVertex_SetVertex(vertex, xyz);
    msVertex_SetTexCoords(vertex, uv);
    float normal[3] = {0, 0, 1};
    msMesh_SetVertexNormalAt(mesh, msMesh_AddVertexNormal(mesh), normal);
    word corners[3] = {0, 0, 0};
    word normals[3] = {0, 1, 2};
    msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
    msTriangle_SetVertexIndices(triangle, corners);
    msTriangle_SetNormalIndices(triangle, normals);
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    msMaterial_SetName(material, "Wood");
    msMaterial_SetDiffuseTexture(material, "tex\\crate.bmp");
    msBone* bone = msModel_GetBoneAt(model.get(), msModel_AddBone(model.get()));
    msBone_SetName(bone, "Arm");
    msBone_SetParentName(bone, "Bip01");
    msBone_SetPosition(bone, xyz);

    EXPECT_EQ(mshost::ModelJsonText(model.get()),
              "{\n"
              "  \"meshes\": [\n"
              "    {\n"
              "      \"name\": \"Box\",\n"
              "      \"material\": 0,\n"
              "      \"vertices\": [\n"
              "        [1.5, -2, 0.25]\n"
              "      ],\n"
              "      \"texcoords\": [\n"
              "        [0.5, 1]\n"
              "      ],\n"
              "      \"normals\": [\n"
              "        [0, 0, 1]\n"
              "      ],\n"
              "      \"triangles\": [\n"
              "        [0, 0, 0]\n"
              "      ],\n"
              "      \"triangleNormals\": [\n"
              "        [0, 1, 2]\n"
              "      ]\n"
              "    }\n"
              "  ],\n"
              "  \"materials\": [\n"
              "    {\n"
              "      \"name\": \"Wood\",\n"
              "      \"ambient\": [0.2, 0.2, 0.2, 1],\n"
              "      \"diffuse\": [0.8, 0.8, 0.8, 1],\n"
              "      \"specular\": [0, 0, 0, 1],\n"
              "      \"emissive\": [0, 0, 0, 1],\n"
              "      \"shininess\": 0,\n"
              "      \"transparency\": 1,\n"
              "      \"diffuseTexture\": \"tex\\\\crate.bmp\"\n"
              "    }\n"
              "  ],\n"
              "  \"bones\": [\n"
              "    {\n"
              "      \"name\": \"Arm\",\n"
              "      \"parent\": \"Bip01\",\n"
              "      \"position\": [1.5, -2, 0.25],\n"
              "      \"rotation\": [0, 0, 0]\n"
              "    }\n"
              "  ]\n"
              "}\n");
}

TEST(ModelJson, RoundTripKeepsHighBytesNaNAndNegativeZero) {
    ModelPtr model = MakeModel();
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh_SetName(mesh, "Caf\xe9\x01\x7f\xff\"-0\\");
    msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    float xyz[3] = {-0.0f, nan, -inf};
    float uv[2] = {inf, FromBits(1)};
    msVertex_SetVertex(vertex, xyz);
    msVertex_SetTexCoords(vertex, uv);
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    msMaterial_SetDiffuseTexture(material, "C:\\Textures\\\xc4rger\xa0.bmp");
    msMaterial_SetShininess(material, nan);
    msMaterial_SetTransparency(material, -0.0f);

    const std::string text = mshost::ModelJsonText(model.get());
    ModelPtr copy = ReadOk(text);
    EXPECT_EQ(mshost::ModelJsonText(copy.get()), text);

    char name[32];
    msMesh_GetName(msModel_GetMeshAt(copy.get(), 0), name, 32);
    EXPECT_STREQ(name, "Caf\xe9\x01\x7f\xff\"-0\\");
    float back[3];
    msVertex_GetVertex(msMesh_GetVertexAt(msModel_GetMeshAt(copy.get(), 0), 0), back);
    EXPECT_EQ(Bits(back[0]), 0x80000000u);
    EXPECT_TRUE(std::isnan(back[1]));
    EXPECT_EQ(back[2], -inf);
    msMaterial* copied = msModel_GetMaterialAt(copy.get(), 0);
    EXPECT_TRUE(std::isnan(msMaterial_GetShininess(copied)));
    EXPECT_EQ(Bits(msMaterial_GetTransparency(copied)), 0x80000000u);
    char path[256];
    msMaterial_GetDiffuseTexture(copied, path, 256);
    EXPECT_STREQ(path, "C:\\Textures\\\xc4rger\xa0.bmp");
}

TEST(ModelJson, FloatsSurviveTheRoundTripBitForBit) {
    // A spread of bit patterns across the whole float range, through one document.
    ModelPtr model = MakeModel();
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    std::vector<float> values;
    for (uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 65521) {
        const float value = FromBits(static_cast<uint32_t>(bits));
        if (std::isfinite(value)) values.push_back(value);
    }
    values.insert(values.end(), {FromBits(1), FromBits(0x007FFFFF), FLT_MIN, FLT_MAX, -FLT_MAX, 0.1f, 1e-7f});
    while (values.size() % 3 != 0) values.push_back(0.5f);
    for (size_t i = 0; i < values.size(); i += 3) {
        msVertex_SetVertex(msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh)), &values[i]);
    }
    ModelPtr copy = ReadOk(mshost::ModelJsonText(model.get()));
    msMesh* copied = msModel_GetMeshAt(copy.get(), 0);
    ASSERT_EQ(msMesh_GetVertexCount(copied), static_cast<int>(values.size() / 3));
    for (size_t i = 0; i < values.size(); i += 3) {
        float back[3];
        msVertex_GetVertex(msMesh_GetVertexAt(copied, static_cast<int>(i / 3)), back);
        for (size_t k = 0; k < 3; ++k) ASSERT_EQ(Bits(back[k]), Bits(values[i + k])) << "value " << values[i + k];
    }
}

TEST(ModelJson, AbsentFieldsTakeTheHostDefaults) {
    ModelPtr model = ReadOk(
        "{\"meshes\": [{\"vertices\": [[1, 2, 3]], \"triangles\": [[0, 0, 0]]}],"
        " \"materials\": [{}], \"bones\": [{}]}");
    msMesh* mesh = msModel_GetMeshAt(model.get(), 0);
    EXPECT_EQ(msMesh_GetMaterialIndex(mesh), -1);
    float uv[2] = {9, 9};
    msVertex_GetTexCoords(msMesh_GetVertexAt(mesh, 0), uv);
    EXPECT_EQ(uv[0], 0.0f);
    EXPECT_EQ(uv[1], 0.0f);
    word normals[3] = {9, 9, 9};
    msTriangle_GetNormalIndices(msMesh_GetTriangleAt(mesh, 0), normals);
    EXPECT_EQ(normals[0] + normals[1] + normals[2], 0);
    msMaterial* material = msModel_GetMaterialAt(model.get(), 0);
    float rgba[4];
    msMaterial_GetAmbient(material, rgba);
    EXPECT_EQ(rgba[0], 0.2f);
    EXPECT_EQ(msMaterial_GetTransparency(material), 1.0f);
    EXPECT_EQ(msModel_GetBoneCount(model.get()), 1);

    ModelPtr empty = ReadOk("{}");
    EXPECT_EQ(msModel_GetMeshCount(empty.get()), 0);
}

TEST(ModelJson, ReadingAppliesTheHostTextLimits) {
    ModelPtr model = ReadOk("{\"bones\": [{\"name\": \"" + std::string(40, 'b') + "\"}]}");
    char name[64];
    msBone_GetName(msModel_GetBoneAt(model.get(), 0), name, 64);
    EXPECT_EQ(std::string(name), std::string(31, 'b'));
}

TEST(ModelJson, ReadsRawLatin1CharactersAsTheirBytes) {
    ModelPtr model = ReadOk("{\"materials\": [{\"name\": \"Caf\xc3\xa9\"}]}");
    char name[32];
    msMaterial_GetName(msModel_GetMaterialAt(model.get(), 0), name, 32);
    EXPECT_STREQ(name, "Caf\xe9");
}

TEST(ModelJson, RejectsWithOneLineNamingTheField) {
    EXPECT_EQ(ReadError("{\"meshes\": [{\"nam\": \"x\"}]}"), "meshes[0]: unknown field \"nam\"");
    EXPECT_EQ(ReadError("[]"), "model: expected an object, found array");
    EXPECT_EQ(ReadError("{\"meshes\": [{\"vertices\": [[0, 0, 0]], \"texcoords\": []}]}"),
              "meshes[0].texcoords: 0 entries for 1 vertices");
    EXPECT_EQ(ReadError("{\"meshes\": [{\"triangles\": [[0, 0, 0]], \"triangleNormals\": [[0, 0, 0], [1, 1, 1]]}]}"),
              "meshes[0].triangleNormals: 2 entries for 1 triangles");
    EXPECT_EQ(ReadError("{\"meshes\": [{}, {\"triangles\": [[0, 65536, 0]]}]}"),
              "meshes[1].triangles[0][1]: integer out of range 0 to 65535");
    EXPECT_EQ(ReadError("{\"meshes\": [{\"triangles\": [[0, -1, 0]]}]}"),
              "meshes[0].triangles[0][1]: integer out of range 0 to 65535");
    EXPECT_EQ(ReadError("{\"meshes\": [{\"material\": 18446744073709551615}]}"),
              "meshes[0].material: integer out of range -2147483648 to 2147483647");
    EXPECT_EQ(ReadError("{\"meshes\": [{\"material\": -2147483649}]}"),
              "meshes[0].material: integer out of range -2147483648 to 2147483647");
    EXPECT_EQ(ReadError("{\"meshes\": [{\"vertices\": [[0, 0]]}]}"), "meshes[0].vertices[0]: expected an array of 3 numbers");
    EXPECT_EQ(ReadError("{\"meshes\": [{\"material\": 1.5}]}"), "meshes[0].material: expected an integer, found number");
    EXPECT_EQ(ReadError("{\"materials\": [{\"shininess\": \"high\"}]}"),
              "materials[0].shininess: expected a number, \"NaN\", \"Infinity\" or \"-Infinity\"");
    EXPECT_EQ(ReadError("{\"bones\": [{\"name\": \"\\u0100\"}]}"),
              "bones[0].name: text holds a character beyond \\u00ff (texts are byte strings)");
    EXPECT_EQ(ReadError("{\"bones\": {}}"), "bones: expected an array, found object");
}

TEST(ModelJson, RejectsBadSyntaxAndFloatOverflow) {
    EXPECT_THAT(ReadError("{\"meshes\": [}"), StartsWith("parse error at line 1, column 13"));
    EXPECT_THAT(ReadError("{\"materials\": [{\"shininess\": 1e39}]}"), HasSubstr("number overflow"));
}

TEST(ModelJson, TheWholeTextMustBeOneValue) {
    EXPECT_EQ(ReadError(std::string("{\"meshes\": []}\0garbage", 22)),
              "byte 14 is a NUL byte, which no JSON text holds; near '{\"meshes\": []}\\x00garbage'");
    EXPECT_EQ(ReadError(std::string("{\"meshes\": [\0]}", 15)).substr(0, 8), "byte 12 ");
    EXPECT_THAT(ReadError("{\"meshes\": []} {}"), HasSubstr("expected end of input"));
    EXPECT_THAT(ReadError("{} x"), HasSubstr("; near '{} x'"));
    ReadOk("{}\n");  // white space after the value is not a second value
}

TEST(ModelJson, ParseErrorsQuoteAtMost80BytesAroundTheFault) {
    const std::string longText =
        "{\"meshes\": [{\"name\": \"" + std::string(70000, 'n') + "\u0001" + std::string(70000, 'm') + "\"}]}";
    const std::string error = ReadError(longText);
    EXPECT_THAT(error, StartsWith("parse error at line 1, column 70023: "));
    const size_t near = error.find("; near '");
    ASSERT_NE(near, std::string::npos) << error;
    EXPECT_EQ(error.size() - near - 9, 80u + 3) << error;  // 80 bytes, one of them shown as \x01
    EXPECT_THAT(error, HasSubstr("nnnn\\x01mmmm"));
}

TEST(ModelJson, TriangleNamingAVertexOutsideItsMeshIsAnError) {
    EXPECT_EQ(ReadError("{\"meshes\": [{}, {\"vertices\": [[0,0,0],[1,0,0],[0,1,0]],"
                        " \"triangles\": [[0, 1, 2], [0, 2, 3]]}]}"),
              "meshes[1].triangles[1]: mesh 1 triangle 1 uses vertex 3, but the mesh has 3 vertices");
    // Normal and material indices are the host's to hold, whatever they are.
    const ModelPtr kept = ReadOk("{\"meshes\": [{\"material\": 7, \"vertices\": [[0,0,0]],"
                                 " \"triangles\": [[0, 0, 0]], \"triangleNormals\": [[9, 9, 9]]}]}");
    EXPECT_EQ(msMesh_GetTriangleCount(msModel_GetMeshAt(kept.get(), 0)), 1);
}

TEST(ModelJson, ReadsTheModelOfAnImportReport) {
    ModelPtr model = MakeModel();
    std::string error;
    ASSERT_TRUE(mshost::ReadModelJson("{\"kind\": 1, \"title\": \"t\", \"execute\": 0, \"messages\": [],"
                                      " \"debug\": [], \"destroyed\": 0, \"model\": {\"bones\": [{\"name\": \"B\"}]}}",
                                      model.get(), &error))
        << error;
    EXPECT_EQ(msModel_GetBoneCount(model.get()), 1);
    EXPECT_EQ(ReadError("{\"model\": {}, \"extra\": 1}"), "report: unknown field \"extra\"");
}

TEST(ModelJson, RejectsDeepNestingWithoutExhaustingTheStack) {
    const int depth = 200000;
    const std::string text = "{\"bones\": [{\"name\": " + std::string(depth, '[') + std::string(depth, ']') + "}]}";
    EXPECT_EQ(ReadError(text), "bones[0].name: expected a string, found array");
}

// Values are read as they come: the fields of an item may come in any order,
// and the first fault in the document's order ends the read.
TEST(ModelJson, ReadsFieldsInAnyOrderAndReportsTheFirstFault) {
    const ModelPtr model = ReadOk("{\"bones\": [{\"name\": \"B\"}], \"meshes\": [{\"triangleNormals\": [[1, 1, 1]],"
                                  " \"triangles\": [[0, 1, 0]], \"texcoords\": [[0.5, 1], [1, 0]],"
                                  " \"vertices\": [[1, 2, 3], [4, 5, -0]]}]}");
    msMesh* mesh = msModel_GetMeshAt(model.get(), 0);
    ASSERT_EQ(msMesh_GetVertexCount(mesh), 2);
    float xyz[3], uv[2];
    msVertex_GetVertex(msMesh_GetVertexAt(mesh, 1), xyz);
    msVertex_GetTexCoords(msMesh_GetVertexAt(mesh, 1), uv);
    EXPECT_EQ(xyz[0], 4.0f);
    EXPECT_TRUE(std::signbit(xyz[2]));
    EXPECT_EQ(uv[0], 1.0f);
    word normals[3];
    msTriangle_GetNormalIndices(msMesh_GetTriangleAt(mesh, 0), normals);
    EXPECT_EQ(normals[2], 1);
    EXPECT_EQ(msModel_GetBoneCount(model.get()), 1);

    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"{\"meshes\": [{\"triangles\": [[0, 1, 2, 0]]}]}", "meshes[0].triangles[0]: expected an array of 3 integers"},
        {"{\"meshes\": [{\"vertices\": [[0, \"x\"]]}]}", "meshes[0].vertices[0]: expected an array of 3 numbers"},
        {"{\"meshes\": [{\"vertices\": [[0, [1], 2]]}]}",
         "meshes[0].vertices[0][1]: expected a number, \"NaN\", \"Infinity\" or \"-Infinity\""},
        {"{\"materials\": [{\"name\": \"a\", \"name\": \"b\"}]}", "materials[0]: field \"name\" given twice"},
        {"{\"bones\": [], \"bones\": []}", "model: field \"bones\" given twice"},
        {"{\"meshes\": [], \"model\": {}}", "report: unknown field \"meshes\""},
        {"{\"extra\": 1, \"model\": {}}", "report: unknown field \"extra\""},
        {"{\"kind\": 1, \"bones\": []}", "model: unknown field \"kind\""},
        {"{\"model\": [], \"kind\": 1}", "model: expected an object, found array"},
        {"{\"debug\": " + std::string(100, '[') + std::string(100, ']') + ", \"model\": {}}",
         "arrays and objects nested deeper than 100 levels"},
        {"17", "model: expected an object, found number"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadError(c.text), c.error) << c.text;
}

class ModelFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("mshost_model_files_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

TEST_F(ModelFiles, SavedJsonLoadsBackTheSameModel) {
    ModelPtr model = MakeModel();
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    msMaterial_SetName(material, "M\xf6");
    const std::string path = (folder / "model.JSON").string();
    std::string error;
    ASSERT_TRUE(mshost::SaveModelFile(path.c_str(), model.get(), &error)) << error;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    ModelPtr copy = MakeModel();
    ASSERT_TRUE(mshost::LoadModelFile(path.c_str(), copy.get(), &error)) << error;
    EXPECT_EQ(mshost::ModelJsonText(copy.get()), mshost::ModelJsonText(model.get()));
}

TEST_F(ModelFiles, ReportsMissingFilesUnknownFormatsAndBadContentWithTheFileName) {
    ModelPtr model = MakeModel();
    std::string error;
    const std::string missing = (folder / "missing.json").string();
    EXPECT_FALSE(mshost::LoadModelFile(missing.c_str(), model.get(), &error));
    EXPECT_EQ(error, "cannot open '" + missing + "': No such file or directory");
    EXPECT_FALSE(mshost::LoadModelFile("model.obj", model.get(), &error));
    EXPECT_THAT(error, StartsWith("'model.obj': unknown model format (known: .json"));
    const std::string bad = (folder / "bad.json").string();
    ASSERT_TRUE(mshost::WriteWholeFile(bad.c_str(), "{\"bones\": 3}", &error));
    EXPECT_FALSE(mshost::LoadModelFile(bad.c_str(), model.get(), &error));
    EXPECT_EQ(error, bad + ": bones: expected an array, found number");
}

TEST_F(ModelFiles, SaveReplacesOnlyRegularFilesKeepingTheirMode) {
    const std::string path = (folder / "keep.json").string();
    std::string error;
    ASSERT_TRUE(mshost::WriteWholeFile(path.c_str(), "old", &error));
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    // A file named like the output with a fixed suffix is someone else's: the
    // save writes under a fresh temporary name and leaves this one alone.
    ASSERT_TRUE(mshost::WriteWholeFile((path + ".mshost-part").c_str(), "theirs", &error));
    ModelPtr model = MakeModel();
    ASSERT_TRUE(mshost::SaveModelFile(path.c_str(), model.get(), &error)) << error;
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    mshost::FileImage bytes;
    ASSERT_TRUE(mshost::ReadFileImage((path + ".mshost-part").c_str(), &bytes, &error));
    EXPECT_EQ(bytes.view(), "theirs");

    // Not a regular file: never replaced and never written into.
    const std::string pipe = (folder / "pipe.json").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_FALSE(mshost::SaveModelFile(pipe.c_str(), model.get(), &error));
    EXPECT_EQ(error, "cannot replace '" + pipe + "': not a regular file");
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_FALSE(mshost::WriteWholeFile("/dev/full", std::string(100000, 'x'), &error));
    EXPECT_EQ(error, "cannot replace '/dev/full': not a regular file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3);
}

}  // namespace
