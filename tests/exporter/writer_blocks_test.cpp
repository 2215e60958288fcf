// The writer's eight block classes: exact bytes, exact sizes, argument
// checks in their order, and who owns the arrays.
#include <gtest/gtest.h>

#include <memory>

#include "exporter/nif4/invalid_param.h"
#include "exporter/nif4/node_blocks.h"
#include "exporter/nif4/property_blocks.h"
#include "exporter/nif4/trishape_data_block.h"
#include "tests/exporter/byte_helpers.h"

using bytes::Concat;
using bytes::Hex;
using bytes::Text;
using bytes::Written;

namespace {

Nif4LinkArray Links(std::initializer_list<int32_t> values) {
    Nif4LinkArray links(new int32_t[values.size()]);
    size_t i = 0;
    for (int32_t value : values) links[i++] = value;
    return links;
}

// Identity transform record with the given flag bytes.
bytes::Bytes Transform(const std::string& flagBytes) {
    return Hex(flagBytes +
               " 00000000 00000000 00000000"
               " 0000803F 00000000 00000000"
               " 00000000 0000803F 00000000"
               " 00000000 00000000 0000803F"
               " 0000803F"
               " 00000000 00000000 00000000");
}

// Expects `construct` to throw EInvalidParam with exactly `message`.
template <class Construct>
void ExpectRejected(Construct construct, const std::string& message) {
    try {
        construct();
        ADD_FAILURE() << "expected EInvalidParam \"" << message << "\"";
    } catch (const EInvalidParam& error) {
        EXPECT_EQ(error.Text(), message);
    }
}

struct Geometry {
    std::unique_ptr<Nif4Vector[]> vertices;
    std::unique_ptr<Nif4Vector[]> normals;
    std::unique_ptr<Nif4TexCoord[]> texCoords;
    std::unique_ptr<Nif4Triangle[]> triangles;
};

Geometry MakeGeometry(size_t vertexCount, size_t texCoordCount, size_t triangleCount) {
    return {std::make_unique<Nif4Vector[]>(vertexCount), std::make_unique<Nif4Vector[]>(vertexCount),
            std::make_unique<Nif4TexCoord[]>(texCoordCount), std::make_unique<Nif4Triangle[]>(triangleCount)};
}

}  // namespace

TEST(WriterBlocks, ZBufferPropertyIsExactly35Bytes) {
    const bytes::Bytes expected =
        Concat({Hex("11000000"), Text("NiZBufferProperty"), Hex("00000000 FFFFFFFF FFFFFFFF 0300")});
    ASSERT_EQ(expected.size(), 35u);
    EXPECT_EQ(Written(CNIF4_ZBufferProperty()), expected);
}

TEST(WriterBlocks, VertexColorPropertyIsExactly47Bytes) {
    const bytes::Bytes expected = Concat({Hex("15000000"), Text("NiVertexColorProperty"),
                                          Hex("00000000 FFFFFFFF FFFFFFFF 0000 00000000 01000000")});
    ASSERT_EQ(expected.size(), 47u);
    EXPECT_EQ(Written(CNIF4_VertexColorProperty()), expected);
}

TEST(WriterBlocks, TexturingPropertyWritesBaseSlotWithItsOddHasFlag) {
    const bytes::Bytes expected =
        Concat({Hex("13000000"), Text("NiTexturingProperty"),
                Hex("00000000 FFFFFFFF FFFFFFFF"  // unnamed, no extra data, no controller
                    "0000 02000000 07000000"      // flags, apply mode, texture count
                    "B0942317 06000000"           // has base texture, source link
                    "03000000 02000000 00000000"  // clamp, filter, coordinate set
                    "0000 B5FF 0000"              // the slot's three further values
                    "00000000 00000000 00000000 00000000 00000000 00000000")});
    const bytes::Bytes written = Written(CNIF4_TexturingProperty(6));
    EXPECT_EQ(written.size(), 95u);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(bytes::Slice(written, 49, 4), Hex("06000000"));
}

TEST(WriterBlocks, SourceTextureNamesAnExternalFile) {
    const bytes::Bytes expected = Concat({Hex("0F000000"), Text("NiSourceTexture"),
                                          Hex("00000000 FFFFFFFF FFFFFFFF 01 05000000"), Text("a.bmp"),
                                          Hex("05000000 01000000 03000000 01")});
    const bytes::Bytes written = Written(CNIF4_SourceTexture(5, "a.bmp"));
    EXPECT_EQ(written.size(), 49u + 5u);
    EXPECT_EQ(written, expected);
}

TEST(WriterBlocks, SourceTextureWithEmptyNameIs49Bytes) {
    const bytes::Bytes written = Written(CNIF4_SourceTexture(0, ""));
    EXPECT_EQ(written.size(), 49u);
    EXPECT_EQ(bytes::Slice(written, 31, 5), Hex("01 00000000"));
}

TEST(WriterBlocks, MaterialPropertyWritesAmbientFirst) {
    const CNIF4_MaterialProperty material(3, "mat", {0.1f, 0.2f, 0.3f}, {0.4f, 0.5f, 0.6f}, {0.7f, 0.8f, 0.9f},
                                          {1.0f, 2.0f, 3.0f}, 32.0f, 0.5f);
    const bytes::Bytes written = Written(material);
    ASSERT_EQ(written.size(), 92u + 3u);
    EXPECT_EQ(bytes::Slice(written, 0, 22), Concat({Hex("12000000"), Text("NiMaterialProperty")}));
    EXPECT_EQ(bytes::Slice(written, 22, 17), Concat({Hex("03000000"), Text("mat"), Hex("FFFFFFFF FFFFFFFF 0100")}));
    const float expected[] = {0.4f, 0.5f, 0.6f, 0.1f, 0.2f, 0.3f, 0.7f, 0.8f, 0.9f, 1.0f, 2.0f, 3.0f, 32.0f, 0.5f};
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(bytes::F32At(written, 39 + 4 * i), expected[i]) << "float " << i;
    }
}

TEST(WriterBlocks, MaterialPropertyAcceptsAnEmptyName) {
    const bytes::Bytes written = Written(CNIF4_MaterialProperty(0, "", {}, {}, {}, {}, 0.0f, 1.0f));
    EXPECT_EQ(written.size(), 92u);
    EXPECT_EQ(bytes::Slice(written, 22, 14), Hex("00000000 FFFFFFFF FFFFFFFF 0100"));
}

TEST(WriterBlocks, RootNodeOfTwoMeshesIs130Bytes) {
    const CNIF4_Node root(10, "Scene Root", 2, Links({1, 2}), 2, Links({3, 9}), 0, nullptr);
    const bytes::Bytes expected = Concat({Hex("06000000"), Text("NiNode"), Hex("0A000000"), Text("Scene Root"),
                                          Hex("FFFFFFFF FFFFFFFF"), Transform("0C00"),
                                          Hex("02000000 01000000 02000000"  // properties
                                              "00000000"                    // no bounding box
                                              "02000000 03000000 09000000"  // children
                                              "00000000")});                // no effects
    const bytes::Bytes written = Written(root);
    EXPECT_EQ(written.size(), 104u + 10u + 4u * (2u + 2u));
    EXPECT_EQ(written, expected);
}

TEST(WriterBlocks, NodeWritesEveryLinkListItHolds) {
    const CNIF4_Node node(1, "n", 1, Links({7}), 0, nullptr, 2, Links({-1, 12}));
    const bytes::Bytes written = Written(node);
    ASSERT_EQ(written.size(), 104u + 1u + 4u * 3u);
    EXPECT_EQ(bytes::Slice(written, 89, 28), Hex("01000000 07000000 00000000 00000000 02000000 FFFFFFFF 0C000000"));
}

TEST(WriterBlocks, TriShapeLinksPropertiesAndData) {
    const CNIF4_TriShape shape(13, "Editable Mesh", 2, Links({5, 7}), 8);
    const bytes::Bytes expected = Concat({Hex("0A000000"), Text("NiTriShape"), Hex("0D000000"), Text("Editable Mesh"),
                                          Hex("FFFFFFFF FFFFFFFF"), Transform("0400"),
                                          Hex("02000000 05000000 07000000"  // properties
                                              "00000000"                    // no bounding box
                                              "08000000"                    // data
                                              "FFFFFFFF")});                // no skin instance
    const bytes::Bytes written = Written(shape);
    EXPECT_EQ(written.size(), 108u + 13u + 4u * 2u);
    EXPECT_EQ(written, expected);
}

TEST(WriterBlocks, TriShapeDataWithThreeVerticesAndOneTriangleIs164Bytes) {
    Geometry g = MakeGeometry(3, 3, 1);
    g.vertices[0] = {1, 0, 0};
    g.vertices[1] = {0, 1, 0};
    g.vertices[2] = {0, 0, 1};
    for (int i = 0; i < 3; ++i) g.normals[i] = {0, 0, -1};
    g.texCoords[0] = {0, 0};
    g.texCoords[1] = {1, 0};
    g.texCoords[2] = {0.25f, 0.75f};
    g.triangles[0] = {{0, 1, 2}};
    const CNIF4_TriShapeData data(3, std::move(g.vertices), std::move(g.normals), {0.5f, 0.5f, 0.5f}, 2.0f, 3,
                                  std::move(g.texCoords), 1, std::move(g.triangles));
    const bytes::Bytes expected = Concat({Hex("0E000000"), Text("NiTriShapeData"),
                                          Hex("0300 30BC2317"
                                              "0000803F 00000000 00000000"
                                              "00000000 0000803F 00000000"
                                              "00000000 00000000 0000803F"
                                              "F0BB2317"
                                              "00000000 00000000 000080BF"
                                              "00000000 00000000 000080BF"
                                              "00000000 00000000 000080BF"
                                              "0000003F 0000003F 0000003F 00000040"  // centre, radius
                                              "00000000"                             // no vertex colours
                                              "0100 70BC2317"                        // one coordinate set
                                              "00000000 00000000 0000803F 00000000 0000803E 0000403F"
                                              "0100 03000000 0000 0100 0200"  // triangles
                                              "0000")});                      // no match groups
    const bytes::Bytes written = Written(data);
    EXPECT_EQ(written.size(), 164u);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(bytes::U32At(written, 152), 3u);
}

TEST(WriterBlocks, TriShapeDataWithoutTexCoordsSaysSoInAReadableWay) {
    // Set count 0, then a zero has-coordinates field, then the triangles.
    Geometry g = MakeGeometry(2, 0, 1);
    const CNIF4_TriShapeData data(2, std::move(g.vertices), std::move(g.normals), {}, 0.0f, 0, nullptr, 1,
                                  std::move(g.triangles));
    const bytes::Bytes written = Written(data);
    ASSERT_EQ(written.size(), 58u + 24u * 2u + 6u + 4u);
    const size_t setCount = 18 + 2 + 4 + 24 + 4 + 24 + 16 + 4;
    EXPECT_EQ(bytes::Slice(written, setCount, 12), Hex("0000 00000000 0100 03000000"));
}

TEST(WriterBlocks, TriShapeDataTexCoordSetCountIsOneForAnyCount) {
    for (uint16_t count : {uint16_t{1}, uint16_t{65535}}) {
        Geometry g = MakeGeometry(1, count, 1);
        const CNIF4_TriShapeData data(1, std::move(g.vertices), std::move(g.normals), {}, 0.0f, count,
                                      std::move(g.texCoords), 1, std::move(g.triangles));
        const bytes::Bytes written = Written(data);
        EXPECT_EQ(written.size(), 58u + 24u + 6u + 4u + 8u * count);
        EXPECT_EQ(bytes::U16At(written, 18 + 2 + 4 + 12 + 4 + 12 + 16 + 4), 1u) << "count " << count;
    }
}

TEST(WriterBlocks, LongNamesAndTheirLengthsAreWrittenAsGiven) {
    const std::string name(255, 'x');
    const bytes::Bytes written = Written(CNIF4_Node(255, name.c_str(), 0, nullptr, 0, nullptr, 0, nullptr));
    EXPECT_EQ(written.size(), 104u + 255u);
    EXPECT_EQ(bytes::U32At(written, 10), 255u);
    EXPECT_EQ(bytes::Slice(written, 14, 255), Text(name));
}

TEST(WriterBlockChecks, NodeNameLengthIsCheckedFirst) {
    for (int32_t length : {0, -1, -100}) {
        ExpectRejected([&] { CNIF4_Node(length, "", -1, nullptr, -1, nullptr, -1, nullptr); },
                       "CNIF4_Node::CNIF4_Node: nodeNameLength less than 1");
    }
}

TEST(WriterBlockChecks, NodeCountsAreCheckedInOrder) {
    ExpectRejected([] { CNIF4_Node(1, "a", -1, nullptr, -1, nullptr, -1, nullptr); },
                   "CNIF4_Node::CNIF4_Node: numProperties less than 0");
    ExpectRejected([] { CNIF4_Node(1, "a", 0, nullptr, -1, nullptr, -1, nullptr); },
                   "CNIF4_Node::CNIF4_Node: numChildren less than 0");
    ExpectRejected([] { CNIF4_Node(1, "a", 0, nullptr, 0, nullptr, -1, nullptr); },
                   "CNIF4_Node::CNIF4_Node: numOthers less than 0");
}

TEST(WriterBlockChecks, NodeWithZeroCountsAndNoArraysIsValid) {
    EXPECT_EQ(Written(CNIF4_Node(1, "a", 0, nullptr, 0, nullptr, 0, nullptr)).size(), 105u);
}

TEST(WriterBlockChecks, TriShapeChecksInOrder) {
    ExpectRejected([] { CNIF4_TriShape(0, "", -1, nullptr, 0); },
                   "CNIF4_TriShape::CNIF4_TriShape: triShapeNameLength less than 1");
    ExpectRejected([] { CNIF4_TriShape(1, "s", -1, nullptr, 0); },
                   "CNIF4_TriShape::CNIF4_TriShape: numProperties less than 0");
    ExpectRejected([] { CNIF4_TriShape(1, "s", 2, nullptr, 0); },
                   "CNIF4_TriShape::CNIF4_TriShape: properties equals NULL");
    EXPECT_EQ(Written(CNIF4_TriShape(1, "s", 0, nullptr, 4)).size(), 109u);
}

TEST(WriterBlockChecks, TriShapeDataChecksVerticesBeforeTriangles) {
    ExpectRejected([] { CNIF4_TriShapeData(0, nullptr, nullptr, {}, 0.0f, 0, nullptr, 0, nullptr); },
                   "CNIF4_TriShapeData::CNIF4_TriShapeData: numVertices less than 1");
    Geometry g = MakeGeometry(1, 1, 0);
    ExpectRejected(
        [&] {
            CNIF4_TriShapeData(1, std::move(g.vertices), std::move(g.normals), {}, 0.0f, 1, std::move(g.texCoords), 0,
                               std::move(g.triangles));
        },
        "CNIF4_TriShapeData::CNIF4_TriShapeData: numTriangles less than 1");
}

TEST(WriterBlockOwnership, RejectedNodeLeavesArraysWithTheCaller) {
    Nif4LinkArray properties = Links({1});
    Nif4LinkArray children = Links({2});
    Nif4LinkArray others = Links({3});
    const int32_t* childrenBefore = children.get();
    EXPECT_THROW(CNIF4_Node(1, "a", 1, std::move(properties), 1, std::move(children), -1, std::move(others)),
                 EInvalidParam);
    EXPECT_TRUE(properties && others);
    EXPECT_EQ(children.get(), childrenBefore);
}

TEST(WriterBlockOwnership, AcceptedNodeTakesItsArrays) {
    Nif4LinkArray properties = Links({1});
    Nif4LinkArray children = Links({2});
    CNIF4_Node node(1, "a", 1, std::move(properties), 1, std::move(children), 0, nullptr);
    EXPECT_FALSE(properties);
    EXPECT_FALSE(children);
}

TEST(WriterBlockOwnership, RejectedTriShapeDataLeavesArraysWithTheCaller) {
    Geometry g = MakeGeometry(1, 1, 0);
    EXPECT_THROW(CNIF4_TriShapeData(1, std::move(g.vertices), std::move(g.normals), {}, 0.0f, 1,
                                    std::move(g.texCoords), 0, std::move(g.triangles)),
                 EInvalidParam);
    EXPECT_TRUE(g.vertices && g.normals && g.texCoords && g.triangles);
}

TEST(WriterBlockOwnership, AcceptedTriShapeTakesItsProperties) {
    Nif4LinkArray properties = Links({5, 7});
    CNIF4_TriShape shape(1, "s", 2, std::move(properties), 8);
    EXPECT_FALSE(properties);
    // A shape destroyed through its base frees its array (the sanitizer build checks).
    std::unique_ptr<CNIF4_Block> owned = std::make_unique<CNIF4_TriShape>(1, "s", 2, Links({1, 2}), 3);
    owned.reset();
}
