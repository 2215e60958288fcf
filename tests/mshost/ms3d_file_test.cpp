// The .ms3d byte layer: reading records field by field, rejecting truncated
// and inconsistent files with one-line messages, and writing bytes back.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "mshost/formats/ms3d_format.h"

namespace {

// Builds .ms3d bytes by hand, independently of the writer under test.
class Bytes {
public:
    Bytes& U8(unsigned value) {
        data.push_back(static_cast<char>(value & 0xFF));
        return *this;
    }
    Bytes& U16(unsigned value) { return U8(value).U8(value >> 8); }
    Bytes& I32(int32_t value) {
        uint32_t bits = static_cast<uint32_t>(value);
        return U16(bits & 0xFFFF).U16(bits >> 16);
    }
    Bytes& F32(float value) { return I32(std::bit_cast<int32_t>(value)); }
    Bytes& Text(const std::string& text, size_t field) {
        data += text;
        data.append(field - text.size(), '\0');
        return *this;
    }
    Bytes& Raw(const std::string& raw) {
        data += raw;
        return *this;
    }
    std::string data;
};

Bytes& Header(Bytes& b, int version = 4) { return b.Raw("MS3D000000").I32(version); }

Bytes& Vertex(Bytes& b, float x, float y, float z) { return b.U8(0).F32(x).F32(y).F32(z).U8(0xFF).U8(1); }

Bytes& Triangle(Bytes& b, unsigned a, unsigned c, unsigned d, float sBase, unsigned group) {
    b.U16(0).U16(a).U16(c).U16(d);
    for (int corner = 0; corner < 3; ++corner) b.F32(0).F32(1).F32(0);
    b.F32(sBase).F32(sBase + 0.25f).F32(sBase + 0.5f);
    b.F32(0.125f).F32(0.375f).F32(0.625f);
    return b.U8(1).U8(group);
}

Bytes& Material(Bytes& b, const std::string& name, const std::string& texture) {
    b.Text(name, 32);
    for (int colour = 0; colour < 4; ++colour) b.F32(0.1f * colour).F32(0.2f).F32(0.3f).F32(1);
    return b.F32(64).F32(0.5f).U8(0).Text(texture, 128).Text("", 128);
}

// A complete small file: 4 vertices, 2 triangles, 1 group, 1 material,
// the animation record and 1 joint with 1 rotation key and 2 position keys.
std::string SmallFile() {
    Bytes b;
    Header(b);
    b.U16(4);
    Vertex(b, 0, 0, 0);
    Vertex(b, 1, 0, 0);
    Vertex(b, 1, 1, 0);
    Vertex(b, 0, 1, 0);
    b.U16(2);
    Triangle(b, 0, 1, 2, 0, 0);
    Triangle(b, 0, 2, 3, 0.5f, 0);
    b.U16(1).U8(0).Text("box", 32).U16(2).U16(0).U16(1).U8(0);
    b.U16(1);
    Material(b, "wood", "textures\\wood.bmp");
    b.F32(24).F32(1).I32(30);
    b.U16(1);
    b.U8(8).Text("root", 32).Text("", 32).F32(0.5f).F32(0).F32(0).F32(1).F32(2).F32(3).U16(1).U16(2);
    b.F32(1).F32(0.5f).F32(0).F32(0);
    b.F32(1).F32(1).F32(2).F32(3);
    b.F32(2).F32(4).F32(5).F32(6);
    return b.data;
}

// Parses `bytes` from a heap buffer of exactly their size, so the sanitizer
// sees a read one byte past the end.
bool ParseExact(const std::string& bytes, ms3d::File* file, std::string* error) {
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[bytes.size() ? bytes.size() : 1]);
    std::memcpy(buffer.get(), bytes.data(), bytes.size());
    return ms3d::ParseFile(buffer.get(), bytes.size(), "small.ms3d", file, error);
}

std::string ParseError(const std::string& bytes) {
    ms3d::File file;
    std::string error;
    EXPECT_FALSE(ParseExact(bytes, &file, &error));
    return error;
}

TEST(Ms3dRead, ReadsEveryRecordFieldByField) {
    ms3d::File file;
    std::string error;
    ASSERT_TRUE(ParseExact(SmallFile(), &file, &error)) << error;
    EXPECT_EQ(file.version, 4);
    ASSERT_EQ(file.vertices.size(), 4u);
    EXPECT_EQ(file.vertices[2].position[0], 1.0f);
    EXPECT_EQ(file.vertices[2].position[1], 1.0f);
    EXPECT_EQ(file.vertices[2].boneId, -1);
    EXPECT_EQ(file.vertices[2].referenceCount, 1);
    ASSERT_EQ(file.triangles.size(), 2u);
    EXPECT_EQ(file.triangles[1].vertexIndices[2], 3);
    EXPECT_EQ(file.triangles[1].s[1], 0.75f);
    EXPECT_EQ(file.triangles[1].t[2], 0.625f);
    EXPECT_EQ(file.triangles[1].normals[2][1], 1.0f);
    EXPECT_EQ(file.triangles[1].smoothingGroup, 1);
    ASSERT_EQ(file.groups.size(), 1u);
    EXPECT_EQ(file.groups[0].name, "box");
    EXPECT_EQ(file.groups[0].triangleIndices, (std::vector<uint16_t>{0, 1}));
    EXPECT_EQ(file.groups[0].materialIndex, 0);
    ASSERT_EQ(file.materials.size(), 1u);
    EXPECT_EQ(file.materials[0].name, "wood");
    EXPECT_EQ(file.materials[0].ambient[0], 0.0f);
    EXPECT_EQ(file.materials[0].emissive[0], 0.3f);
    EXPECT_EQ(file.materials[0].emissive[3], 1.0f);
    EXPECT_EQ(file.materials[0].shininess, 64.0f);
    EXPECT_EQ(file.materials[0].transparency, 0.5f);
    EXPECT_EQ(file.materials[0].texture, "textures\\wood.bmp");
    EXPECT_EQ(file.materials[0].alphaMap, "");
    EXPECT_EQ(file.fps, 24.0f);
    EXPECT_EQ(file.totalFrames, 30);
    ASSERT_EQ(file.joints.size(), 1u);
    EXPECT_EQ(file.joints[0].flags, 8);
    EXPECT_EQ(file.joints[0].name, "root");
    EXPECT_EQ(file.joints[0].parentName, "");
    EXPECT_EQ(file.joints[0].rotation[0], 0.5f);
    EXPECT_EQ(file.joints[0].position[2], 3.0f);
    ASSERT_EQ(file.joints[0].rotationKeys.size(), 1u);
    ASSERT_EQ(file.joints[0].positionKeys.size(), 2u);
    EXPECT_EQ(file.joints[0].positionKeys[1].time, 2.0f);
    EXPECT_EQ(file.joints[0].positionKeys[1].value[2], 6.0f);
}

TEST(Ms3dRead, AcceptsVersion3) {
    std::string bytes = SmallFile();
    bytes[10] = 3;
    ms3d::File file;
    std::string error;
    ASSERT_TRUE(ParseExact(bytes, &file, &error)) << error;
    EXPECT_EQ(file.version, 3);
}

TEST(Ms3dRead, RejectsOtherVersions) {
    std::string bytes = SmallFile();
    bytes[10] = 5;
    EXPECT_EQ(ParseError(bytes), "small.ms3d: .ms3d version 5 is not supported (only 3 and 4)");
    bytes[10] = 0;
    bytes[13] = static_cast<char>(0x80);
    EXPECT_EQ(ParseError(bytes), "small.ms3d: .ms3d version -2147483648 is not supported (only 3 and 4)");
}

TEST(Ms3dRead, RejectsWrongId) {
    std::string bytes = SmallFile();
    bytes[4] = 'X';
    EXPECT_EQ(ParseError(bytes), "small.ms3d: not an .ms3d file (the id is not MS3D000000)");
}

TEST(Ms3dRead, RejectsEveryTruncation) {
    const std::string bytes = SmallFile();
    for (size_t length = 0; length < bytes.size(); ++length) {
        ms3d::File file;
        std::string error;
        EXPECT_FALSE(ParseExact(bytes.substr(0, length), &file, &error)) << "prefix of " << length << " bytes";
        EXPECT_EQ(error.rfind("small.ms3d: truncated at offset ", 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST(Ms3dRead, NamesTheMissingRecordAndByteCounts) {
    const std::string bytes = SmallFile();
    EXPECT_EQ(ParseError(""), "small.ms3d: truncated at offset 0: 14 bytes for the header, but only 0 left");
    EXPECT_EQ(ParseError(bytes.substr(0, 15)),
              "small.ms3d: truncated at offset 14: 2 bytes for the vertex count, but only 1 left");
    EXPECT_EQ(ParseError(bytes.substr(0, 16 + 59)),
              "small.ms3d: truncated at offset 16: 60 bytes for 4 vertices, but only 59 left");
    // 14 + 2 + 60 + 2 + 140 = 218: the group count, then the group's fixed part.
    EXPECT_EQ(ParseError(bytes.substr(0, 220 + 35)),
              "small.ms3d: truncated at offset 220: 36 bytes for 1 group, but only 35 left");
    // The group's fixed part is there but its list is cut: 220 + 35 = 255 is the list's start.
    EXPECT_EQ(ParseError(bytes.substr(0, 255 + 3)),
              "small.ms3d: truncated at offset 255: 4 bytes for group 0's 2 triangle indices, but only 3 left");
    // 260 material count, 262 + 361 = 623 the animation record, 635 the joint count, 637 the joint.
    EXPECT_EQ(ParseError(bytes.substr(0, 634)),
              "small.ms3d: truncated at offset 623: 12 bytes for the animation record, but only 11 left");
    EXPECT_EQ(ParseError(bytes.substr(0, 635)),
              "small.ms3d: truncated at offset 635: 2 bytes for the joint count, but only 0 left");
    EXPECT_EQ(ParseError(bytes.substr(0, 636)),
              "small.ms3d: truncated at offset 635: 2 bytes for the joint count, but only 1 left");
    EXPECT_EQ(ParseError(bytes.substr(0, 637 + 93 + 15)),
              "small.ms3d: truncated at offset 730: 16 bytes for joint 0's 1 rotation key, but only 15 left");
    EXPECT_EQ(ParseError(bytes.substr(0, bytes.size() - 1)),
              "small.ms3d: truncated at offset 746: 32 bytes for joint 0's 2 position keys, but only 31 left");
}

TEST(Ms3dRead, RejectsCountsBeyondTheData) {
    Bytes b;
    Header(b).U16(500);
    Vertex(b, 0, 0, 0);
    EXPECT_EQ(ParseError(b.data), "small.ms3d: truncated at offset 16: 7500 bytes for 500 vertices, but only 15 left");

    Bytes materials;
    Header(materials).U16(0).U16(0).U16(0).U16(65535).Raw(std::string(400, '\0'));
    EXPECT_EQ(ParseError(materials.data),
              "small.ms3d: truncated at offset 22: 23658135 bytes for 65535 materials, but only 400 left");
}

TEST(Ms3dRead, RejectsTriangleVertexOutOfRange) {
    Bytes b;
    Header(b).U16(3);
    for (int i = 0; i < 3; ++i) Vertex(b, 0, 0, 0);
    b.U16(2);
    Triangle(b, 0, 1, 2, 0, 0);
    Triangle(b, 0, 3, 2, 0, 0);
    EXPECT_EQ(ParseError(b.data), "small.ms3d: triangle 1 uses vertex 3, but the file has 3 vertices");
}

// A group lists only triangles the file has, and each at most once: listed
// again, in its own group or another, the file is malformed (and the listings
// of all groups together stay within the triangle count).
TEST(Ms3dRead, RejectsGroupListsNamingAMissingOrAnAlreadyListedTriangle) {
    const struct {
        int triangles;
        std::vector<std::vector<uint16_t>> groups;
        const char* error;
    } cases[] = {
        {1, {{0}, {1}}, "small.ms3d: group 1 lists triangle 1, but the file has 1 triangle"},
        {2, {{0, 1}, {1}}, "small.ms3d: group 1 lists triangle 1, which group 0 lists already"},
        {2, {{1, 0, 1}}, "small.ms3d: group 0 lists triangle 1, which it lists already"},
        {2, {{0}, {}, {1, 0}}, "small.ms3d: group 2 lists triangle 0, which group 0 lists already"},
    };
    for (const auto& c : cases) {
        Bytes b;
        Header(b).U16(3);
        for (int i = 0; i < 3; ++i) Vertex(b, 0, 0, 0);
        b.U16(static_cast<uint16_t>(c.triangles));
        for (unsigned i = 0; i < static_cast<unsigned>(c.triangles); ++i) Triangle(b, 0, 1 + i, 2 - i, 0, 0);
        b.U16(static_cast<uint16_t>(c.groups.size()));
        for (const auto& list : c.groups) {
            b.U8(0).Text("g", 32).U16(static_cast<uint16_t>(list.size()));
            for (const uint16_t index : list) b.U16(index);
            b.U8(0xFF);
        }
        EXPECT_EQ(ParseError(b.data), c.error);
    }
}

TEST(Ms3dRead, RejectsGroupMaterialOutOfRange) {
    std::string bytes = SmallFile();
    bytes[259] = 1;  // the group's material index; the file has one material
    EXPECT_EQ(ParseError(bytes), "small.ms3d: group 0 uses material 1, but the file has 1 material");
    bytes[259] = static_cast<char>(0xFE);
    EXPECT_EQ(ParseError(bytes), "small.ms3d: group 0 uses material -2, but the file has 1 material");
    bytes[259] = static_cast<char>(0xFF);
    ms3d::File file;
    std::string error;
    ASSERT_TRUE(ParseExact(bytes, &file, &error)) << error;
    EXPECT_EQ(file.groups[0].materialIndex, -1);
}

TEST(Ms3dRead, IgnoresTrailingSections) {
    // A version 4 comment section header and a cut-off rest: optional, skipped.
    std::string bytes = SmallFile() + std::string("\x01\x00\x00\x00\x07\x00", 6);
    ms3d::File file;
    std::string error;
    ASSERT_TRUE(ParseExact(bytes, &file, &error)) << error;
    EXPECT_EQ(file.joints.size(), 1u);
}

TEST(Ms3dRead, KeepsAllThirtyTwoCharactersOfAFullName) {
    std::string bytes = SmallFile();
    std::memset(&bytes[221], 'n', 32);  // group 0's name field, no terminator left
    ms3d::File file;
    std::string error;
    ASSERT_TRUE(ParseExact(bytes, &file, &error)) << error;
    EXPECT_EQ(file.groups[0].name, std::string(32, 'n'));
    EXPECT_EQ(file.groups[0].triangleIndices.size(), 2u);
}

TEST(Ms3dRead, SurvivesEveryByteMutation) {
    const std::string original = SmallFile();
    const unsigned char changes[] = {1, 0xFF};  // +1, -1
    for (size_t i = 0; i < original.size(); ++i) {
        for (int kind = 0; kind < 4; ++kind) {
            std::string bytes = original;
            unsigned char& byte = reinterpret_cast<unsigned char&>(bytes[i]);
            byte = kind < 2 ? static_cast<unsigned char>(byte + changes[kind]) : (kind == 2 ? 0 : 0xFF);
            ms3d::File file;
            std::string error;
            if (!ParseExact(bytes, &file, &error)) {
                EXPECT_EQ(error.rfind("small.ms3d: ", 0), 0u) << error;
            }
        }
    }
}

TEST(Ms3dWrite, WritesBackTheBytesItRead) {
    const std::string bytes = SmallFile();
    ms3d::File file;
    std::string error;
    ASSERT_TRUE(ParseExact(bytes, &file, &error)) << error;
    std::string written;
    ASSERT_TRUE(ms3d::WriteFile(file, "out.ms3d", &written, &error)) << error;
    EXPECT_EQ(written, bytes);
}

TEST(Ms3dWrite, EmptyFileHoldsHeaderCountsAndAnimation) {
    ms3d::File file;
    std::string written, error;
    ASSERT_TRUE(ms3d::WriteFile(file, "out.ms3d", &written, &error)) << error;
    Bytes expected;
    Header(expected).U16(0).U16(0).U16(0).U16(0).F32(24).F32(1).I32(30).U16(0);
    EXPECT_EQ(written.size(), 36u);
    EXPECT_EQ(written, expected.data);
}

TEST(Ms3dWrite, CutsTextsSoTheTerminatorFits) {
    ms3d::File file;
    ms3d::Material material;
    material.name = std::string(40, 'm');
    material.texture = std::string(200, 't');
    file.materials.push_back(material);
    std::string written, error;
    ASSERT_TRUE(ms3d::WriteFile(file, "out.ms3d", &written, &error)) << error;
    ASSERT_EQ(written.size(), 36u + ms3d::kMaterialSize);
    ms3d::File read;
    ASSERT_TRUE(ParseExact(written, &read, &error)) << error;
    EXPECT_EQ(read.materials[0].name, std::string(31, 'm'));
    EXPECT_EQ(read.materials[0].texture, std::string(127, 't'));
    EXPECT_EQ(written[22 + 31], '\0');
    EXPECT_EQ(written[22 + 32 + 4 * 16 + 8 + 1 + 127], '\0');
}

TEST(Ms3dWrite, RejectsMoreVerticesThanTheCountHolds) {
    ms3d::File file;
    file.vertices.resize(65536);
    std::string written, error;
    EXPECT_FALSE(ms3d::WriteFile(file, "out.ms3d", &written, &error));
    EXPECT_EQ(error, "out.ms3d: 65536 vertices do not fit an .ms3d file (at most 65535)");
    EXPECT_TRUE(written.empty());
}

}  // namespace
