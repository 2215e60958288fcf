// Node, shape and geometry blocks: layouts, verify failures, the questions they answer.
#include <gtest/gtest.h>

#include "importer/nif/node_blocks.h"
#include "nif_builder/nif_builder.h"
#include "tests/reader/reader_test_support.h"

namespace {

class NodeBlocks : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }
};

NifBuilder NodeFields(std::string_view name, int32_t unknown2) {
    NifBuilder b;
    ObjectHead(b, name);
    return b.Long(unknown2);
}

TEST_F(NodeBlocks, NodeNamedBip01IsBoneFromTheStart) {
    for (const char* name : {"Bip01", "bip01", "Bip01 Spine", "BIP01", ""}) {
        NifBuilder b = NodeFields(name, 0);
        b.LinkList({}).LinkList({});
        ReadAlone<NiNode> node(b, BlockKind::NiNode);
        ASSERT_EQ(node.failure, "");
        EXPECT_EQ(node.block->IsBone(), std::string(name) == "Bip01") << name;
        EXPECT_STREQ(node.block->GetId(), name);
    }
}

TEST_F(NodeBlocks, BoundingBoxAdds64BytesBeforeChildren) {
    NifBuilder without = NodeFields("n", 0);
    without.LinkList({4, 5}).LinkList({});
    ReadAlone<NiNode> plain(without, BlockKind::NiNode);
    ASSERT_EQ(plain.failure, "");

    NifBuilder with = NodeFields("n", 1);
    with.Long(1).Vector(1, 2, 3).IdentityMatrix33().Vector(4, 5, 6).LinkList({4, 5}).LinkList({});
    ReadAlone<NiNode> boxed(with, BlockKind::NiNode);
    ASSERT_EQ(boxed.failure, "");
    EXPECT_EQ(boxed.BytesRead(), plain.BytesRead() + 64);
    EXPECT_EQ(boxed.block->GetNumberChildren(), 2);
    EXPECT_EQ(boxed.block->GetBoundingBox().extents.z, 6.0f);
}

TEST_F(NodeBlocks, NodeWithoutBoxOrBoneRecordAnswersDefaults) {
    NifBuilder b = NodeFields("n", 0);
    b.LinkList({}).LinkList({});
    ReadAlone<NiNode> node(b, BlockKind::NiNode);
    ASSERT_EQ(node.failure, "");
    EXPECT_FALSE(node.block->HasBoundingBox());
    EXPECT_EQ(node.block->GetBoundingBox().volumeType, 0);
    EXPECT_EQ(node.block->GetBoundingBox().rotation.m[4], 1.0f);
    EXPECT_EQ(node.block->BoneTranslation().x, 0.0f);
    EXPECT_EQ(node.block->BoneRotation().m[8], 1.0f);
    EXPECT_EQ(node.block->BoneRotation().m[1], 0.0f);
    Matrix44 bone;
    node.block->GetBoneMatrix(bone);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) EXPECT_EQ(bone.m[row][column], row == column ? 1.0f : 0.0f);

    // Bone data set later is kept and replaced as a whole.
    Matrix33 rotation;
    rotation.m[0] = -1.0f;
    node.block->SetBoneData(NifVector{1, 2, 3}, rotation);
    node.block->SetBoneData(NifVector{4, 5, 6}, rotation);
    EXPECT_EQ(node.block->BoneTranslation().y, 5.0f);
    EXPECT_EQ(node.block->BoneRotation().m[0], -1.0f);
    EXPECT_TRUE(node.block->IsBone());
    EXPECT_STREQ(node.block->GetTypeName(), "NiNode");
    EXPECT_EQ(node.block->Kind(), BlockKind::NiNode);
}

TEST_F(NodeBlocks, BoundingVolumeTypeMustBeOne) {
    NifBuilder b = NodeFields("n", 7);
    b.Long(2);
    EXPECT_EQ(ReadAlone<NiNode>(b, BlockKind::NiNode).failure, "Unexpected Long value - was 0x00000002 (2) expected 0x00000001 (1)");
}

TEST_F(NodeBlocks, OtherNodeKindsAndShapesRejectBoundingBoxFlag) {
    const std::string expected = "Unexpected Long value - was 0x00000001 (1) expected 0x00000000 (0)";
    EXPECT_EQ(ReadAlone<NiBSAnimationNode>(NodeFields("a", 1), BlockKind::NiBSAnimationNode).failure, expected);
    EXPECT_EQ(ReadAlone<NiBSParticleNode>(NodeFields("p", 1), BlockKind::NiBSParticleNode).failure, expected);
    EXPECT_EQ(ReadAlone<RootCollisionNode>(NodeFields("r", 1), BlockKind::RootCollisionNode).failure, expected);
    EXPECT_EQ(ReadAlone<NiTriShape>(NodeFields("s", 1), BlockKind::NiTriShape).failure, expected);
}

TEST_F(NodeBlocks, RootCollisionNodeControllerMustBeNone) {
    NifBuilder b;
    ObjectHead(b, "r", {}, -1, 3);
    EXPECT_EQ(ReadAlone<RootCollisionNode>(b, BlockKind::RootCollisionNode).failure,
              "Unexpected Long value - was 0x00000003 (3) expected 0xFFFFFFFF (-1)");
}

TEST_F(NodeBlocks, LocalTransformRotatesScalesThenMoves) {
    NifBuilder b;
    b.String("n").Long(-1).Long(-1).Short(0).Vector(1, 2, 3).IdentityMatrix33().Float(2).Vector(0, 0, 0).LinkList({});
    b.Long(0).LinkList({}).LinkList({});
    ReadAlone<NiNode> node(b, BlockKind::NiNode);
    ASSERT_EQ(node.failure, "");
    Matrix44 local;
    node.block->GetLocalTransform(local);
    const float point[3] = {1, 1, 1};
    float out[4];
    TransformPoint(out, point, local);
    EXPECT_FLOAT_EQ(out[0], 3);
    EXPECT_FLOAT_EQ(out[1], 4);
    EXPECT_FLOAT_EQ(out[2], 5);
    EXPECT_FLOAT_EQ(out[3], 1);
}

TEST_F(NodeBlocks, LocalTransformUsesTransposedRotation) {
    // A record of 90 degrees about z for column vectors: x goes to y.
    NifBuilder b;
    b.String("s").Long(-1).Long(-1).Short(0).Vector(0, 0, 0).Floats({0, -1, 0, 1, 0, 0, 0, 0, 1}).Float(1).Vector(0, 0, 0).LinkList({});
    b.Long(0).Long(-1).Long(-1);
    ReadAlone<NiTriShape> shape(b, BlockKind::NiTriShape);
    ASSERT_EQ(shape.failure, "");
    Matrix44 local;
    shape.block->GetLocalTransform(local);
    const float x[3] = {1, 0, 0};
    float out[4];
    TransformPoint(out, x, local);
    EXPECT_FLOAT_EQ(out[0], 0);
    EXPECT_FLOAT_EQ(out[1], 1);
}

TEST_F(NodeBlocks, BoneMatrixInvertsBoneRecord) {
    NifBuilder b = NodeFields("n", 0);
    b.LinkList({}).LinkList({});
    ReadAlone<NiNode> node(b, BlockKind::NiNode);
    NifVector translation;
    translation.z = 5;
    node.block->SetBoneData(translation, Matrix33{});
    EXPECT_TRUE(node.block->IsBone());
    Matrix44 bone;
    node.block->GetBoneMatrix(bone);
    const float origin[3] = {0, 0, 0};
    float out[4];
    TransformPoint(out, origin, bone);
    EXPECT_FLOAT_EQ(out[2], -5);
    EXPECT_FLOAT_EQ(out[3], 1);
    EXPECT_TRUE(platform::headless::MessageBoxes().empty());
}

TEST_F(NodeBlocks, SingularBoneRecordLeavesCallersMatrix) {
    NifBuilder b = NodeFields("n", 0);
    b.LinkList({}).LinkList({});
    ReadAlone<NiNode> node(b, BlockKind::NiNode);
    Matrix33 flat{{0, 0, 0, 0, 1, 0, 0, 0, 1}};
    node.block->SetBoneData(NifVector{}, flat);
    Matrix44 m;
    MakeTranslation(m, 7, 8, 9);
    node.block->GetBoneMatrix(m);
    EXPECT_EQ(m.m[3][0], 7);
    EXPECT_EQ(m.m[0][0], 1);
}

// ---------------------------------------------------------------- NiTriShapeData

TEST_F(NodeBlocks, ShapeDataReadsExactlyItsArrays) {
    NifBuilder b;
    b.Short(3).Long(1).RepeatFloat(0, 9).Long(0).Vector(0, 0, 0).Float(1).Long(0);
    b.Short(1).Long(1).RepeatFloat(0.5f, 6).Short(1).Long(3).Short(0).Short(1).Short(2).Short(0);
    ReadAlone<NiTriShapeData> data(b, BlockKind::NiTriShapeData);
    ASSERT_EQ(data.failure, "");
    // 2 + 4 + 36 + 4 + 16 + 4 + 2 + 4 + 24 + 2 + 4 + 6 + 2
    EXPECT_EQ(data.BytesRead(), 110u);
    EXPECT_EQ(data.BytesRead(), b.Size());
    EXPECT_EQ(data.block->GetNumberVertexes(), 3);
    EXPECT_EQ(data.block->GetNumberTriangles(), 1);
    EXPECT_EQ(data.block->GetTriangleIndex(2), 2);
    EXPECT_EQ(data.block->HasUVCoords(), 1);
}

TEST_F(NodeBlocks, ShapeDataReadsNormalsOnlyWhenFlagPositiveAndColoursWhenNonZero) {
    NifBuilder b;
    b.Short(1).Long(0).Long(-1).Vector(0, 0, 0).Float(1).Long(-1).Floats({0.1f, 0.2f, 0.3f, 0.4f});
    b.Short(0).Long(0).Short(0).Long(0).Short(0);
    ReadAlone<NiTriShapeData> data(b, BlockKind::NiTriShapeData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    EXPECT_TRUE(data.block->Normals().empty());
    ASSERT_EQ(data.block->VertexColours().size(), 1u);
    EXPECT_EQ(data.block->VertexColours()[0].a, 0.4f);
}

TEST_F(NodeBlocks, SecondUVSetFollowsTheFirst) {
    NifBuilder b;
    b.Short(6).Long(0).Long(0).Vector(0, 0, 0).Float(1).Long(0).Short(2).Long(1);
    for (int i = 0; i < 12; ++i) b.Float(float(i)).Float(float(100 + i));
    b.Short(0).Long(0).Short(0);
    ReadAlone<NiTriShapeData> data(b, BlockKind::NiTriShapeData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.block->GetUVCoord(5, 1).u, 11.0f);  // entry V + 5
    EXPECT_EQ(data.block->GetUVCoord(5, 1).v, 111.0f);
    EXPECT_EQ(data.block->GetUVCoord(0, 0).u, 0.0f);
    EXPECT_EQ(data.block->GetUVCoord(2, 0).u, 2.0f);
}

TEST_F(NodeBlocks, NoUVFlagReadsNoCoordinatesWhateverTheSetCount) {
    NifBuilder b;
    b.Short(2).Long(0).Long(0).Vector(0, 0, 0).Float(1).Long(0).Short(2).Long(0).Short(0).Long(0).Short(0);
    ReadAlone<NiTriShapeData> data(b, BlockKind::NiTriShapeData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    EXPECT_EQ(data.block->HasUVCoords(), 0);
}

TEST_F(NodeBlocks, TrianglePointCountMustBeThreeTimesTriangles) {
    NifBuilder b;
    b.Short(0).Long(0).Long(0).Vector(0, 0, 0).Float(1).Long(0).Short(0).Long(0).Short(2).Long(5);
    EXPECT_EQ(ReadAlone<NiTriShapeData>(b, BlockKind::NiTriShapeData).failure,
              "Unexpected Long value - was 0x00000005 (5) expected 0x00000006 (6)");
}

TEST_F(NodeBlocks, MatchGroupsReadTheirOwnCounts) {
    NifBuilder b;
    b.Short(0).Long(0).Long(0).Vector(0, 0, 0).Float(1).Long(0).Short(0).Long(0).Short(0).Long(0);
    b.Short(3).Short(0).Short(2).Short(7).Short(8).Short(1).Short(9);
    ReadAlone<NiTriShapeData> data(b, BlockKind::NiTriShapeData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    ASSERT_EQ(data.block->MatchGroups().size(), 3u);
    EXPECT_TRUE(data.block->MatchGroups()[0].empty());
    EXPECT_EQ(data.block->MatchGroups()[1].ToVector(), (std::vector<uint16_t>{7, 8}));
    EXPECT_EQ(data.block->MatchGroups()[2].ToVector(), (std::vector<uint16_t>{9}));
}

TEST_F(NodeBlocks, CountsFrom32768To65535AreUnsigned) {
    const int vertices = 40000, triangles = 33000;
    NifBuilder b;
    b.Short(vertices).Long(1);
    for (int i = 0; i < vertices; ++i) b.Vector(float(i), 0, 0);
    b.Long(0).Vector(0, 0, 0).Float(1).Long(0).Short(0).Long(0);
    b.Short(triangles).Long(3 * triangles);
    for (int i = 0; i < 3 * triangles; ++i) b.Short(i % vertices);
    b.Short(40000);
    for (int i = 0; i < 40000; ++i) b.Short(0);
    ReadAlone<NiTriShapeData> data(b, BlockKind::NiTriShapeData);
    ASSERT_EQ(data.failure, "");
    EXPECT_EQ(data.BytesRead(), b.Size());
    EXPECT_EQ(data.block->GetNumberVertexes(), 40000);
    EXPECT_EQ(data.block->GetNumberTriangles(), 33000);
    EXPECT_EQ(data.block->GetVertex(39999).x, 39999.0f);
    EXPECT_EQ(data.block->GetTriangleIndex(3 * triangles - 1), (3 * triangles - 1) % vertices);
    EXPECT_EQ(data.block->MatchGroups().size(), 40000u);
}

TEST_F(NodeBlocks, GeometryAccessorsGiveZeroOutsideStoredArrays) {
    NifBuilder b;
    b.Short(2).Long(0).Long(0).Vector(0, 0, 0).Float(1).Long(0).Short(1).Long(1).Floats({1, 2, 3, 4}).Short(0).Long(0).Short(0);
    ReadAlone<NiTriShapeData> data(b, BlockKind::NiTriShapeData);
    ASSERT_EQ(data.failure, "");
    const NiTriShapeData& d = *data.block;
    EXPECT_EQ(d.GetVertex(0).x, 0.0f);  // has vertices 0: nothing stored
    EXPECT_EQ(d.GetVertex(-1).x, 0.0f);
    EXPECT_EQ(d.GetUVCoord(1, 0).u, 3.0f);
    EXPECT_EQ(d.GetUVCoord(2, 0).u, 0.0f);
    EXPECT_EQ(d.GetUVCoord(0, 1).u, 0.0f);
    EXPECT_EQ(d.GetUVCoord(-1, 0).u, 0.0f);
    EXPECT_EQ(d.GetTriangleIndex(0), 0);
    EXPECT_EQ(d.GetTriangleIndex(-1), 0);
    EXPECT_TRUE(platform::headless::MessageBoxes().empty());
}

TEST_F(NodeBlocks, VertexCountLargerThanDataFailsAtFirstMissingEntry) {
    NifBuilder b;
    b.Short(65535).Long(1).Vector(1, 2, 3);
    EXPECT_EQ(ReadAlone<NiTriShapeData>(b, BlockKind::NiTriShapeData).failure, "Attempted to copy too much data (4 bytes).");
}

// ---------------------------------------------------------------- shapes in a file

TEST_F(NodeBlocks, ShapeForwardsGeometryQuestionsToItsData) {
    NifBuilder b;
    b.FileStart(3);
    NodeBlock(b, "root", {1});
    TriShapeBlock(b, "shape", 2);
    SmallTriShapeDataBlock(b);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    const NifBlock* shape = loaded.file->GetBlock(1);
    EXPECT_EQ(shape->IsShape(), 1);
    EXPECT_EQ(loaded.file->GetBlock(0)->IsShape(), 0);
    EXPECT_EQ(shape->GetNumberVertexes(), 3);
    EXPECT_EQ(shape->GetVertex(1).x, 1.0f);
    EXPECT_EQ(shape->HasUVCoords(), 1);
    EXPECT_EQ(shape->GetUVCoord(2, 0).v, 1.0f);
    EXPECT_EQ(shape->GetNumberTriangles(), 1);
    EXPECT_EQ(shape->GetTriangleIndex(1), 1);
    EXPECT_STREQ(shape->GetId(), "shape");
    EXPECT_EQ(platform::headless::DebugText(), "");
}

TEST_F(NodeBlocks, ShapeWhoseDataIsAShapeAnswersAsTheBase) {
    NifBuilder b;
    b.FileStart(3);
    NodeBlock(b, "root", {1, 2});
    TriShapeBlock(b, "self", 1);
    TriShapeBlock(b, "other", 1);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(platform::headless::DebugText(),
              "Wanted TriShapeData, but got: NiTriShape\nWanted TriShapeData, but got: NiTriShape\n");
    // The second shape asks the same questions: within the load's run the
    // same boxes are counted, not shown again.
    for (int index : {1, 2}) {
        platform::headless::Reset();
        const NifBlock* shape = loaded.file->GetBlock(index);
        EXPECT_EQ(shape->GetNumberVertexes(), 0);
        EXPECT_EQ(shape->HasUVCoords(), 0);
        EXPECT_EQ(shape->GetVertex(0).x, 0.0f);
        EXPECT_EQ(shape->GetUVCoord(0, 0).u, 0.0f);
        EXPECT_EQ(shape->GetNumberTriangles(), 0);
        EXPECT_EQ(shape->GetTriangleIndex(0), 0);
        EXPECT_EQ(MessageBoxLog(), index == 1 ? "GetNumberVertexes|ARGH\nHasUVCoords|ARGH\n" : "");
    }
    EXPECT_EQ(loaded.printer.BoxesHeldBack(), 2);
}

TEST_F(NodeBlocks, ShapeReturnsLastPropertyOfEachKind) {
    NifBuilder b;
    b.FileStart(6);
    TriShapeBlock(b, "shape", -1, -1, {1, 2, 3, 4, 5});
    TexturingPropertyBlock(b, -1);
    MaterialPropertyBlock(b, "first");
    TexturingPropertyBlock(b, -1);
    MaterialPropertyBlock(b, "second");
    ZBufferPropertyBlock(b);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    const NifBlock* shape = loaded.file->GetRoot();
    EXPECT_EQ(shape->GetTexturingProperty(), loaded.file->GetBlock(3));
    EXPECT_EQ(shape->GetMaterialProperty(), loaded.file->GetBlock(4));
    EXPECT_STREQ(shape->GetMaterialProperty()->GetId(), "second");
}

TEST_F(NodeBlocks, ShapeWithoutPropertiesHasNone) {
    NifBuilder b;
    b.FileStart(1);
    TriShapeBlock(b, "shape", -1, -1, {-1, 7});
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.file->GetRoot()->GetTexturingProperty(), nullptr);
    EXPECT_EQ(loaded.file->GetRoot()->GetMaterialProperty(), nullptr);
}

TEST_F(NodeBlocks, OnlyNiNodeAnswersChildQuestions) {
    NifBuilder b;
    b.FileStart(4);
    NodeBlock(b, "root", {1, 2, 3});
    OtherNodeBlock(b, "NiBSAnimationNode", "anim", {3});
    OtherNodeBlock(b, "RootCollisionNode", "collision", {3});
    NodeBlock(b, "leaf");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    const NifBlock* root = loaded.file->GetRoot();
    EXPECT_EQ(root->GetNumberChildren(), 3);
    EXPECT_EQ(root->GetChild(1), loaded.file->GetBlock(2));
    EXPECT_EQ(root->GetChild(3), nullptr);
    EXPECT_EQ(root->GetChild(-1), nullptr);
    EXPECT_EQ(loaded.file->GetBlock(1)->GetNumberChildren(), 0);
    EXPECT_EQ(loaded.file->GetBlock(1)->GetChild(0), nullptr);
    EXPECT_EQ(loaded.file->GetBlock(2)->GetNumberChildren(), 0);
    EXPECT_STREQ(loaded.file->GetBlock(1)->GetId(), "anim");
}

// ---------------------------------------------------------------- base answers

TEST_F(NodeBlocks, QuestionsOfTheWrongKindShowArghBoxes) {
    NifBuilder b;
    b.FileStart(2);
    SourceTextureBlock(b, "a.bmp");
    OtherNodeBlock(b, "NiBSParticleNode", "particles");
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    platform::headless::Reset();
    NifBlock* texture = loaded.file->GetBlock(0);
    NifBlock* particles = loaded.file->GetBlock(1);
    EXPECT_EQ(texture->GetId(), nullptr);
    EXPECT_EQ(particles->getFileName(), nullptr);
    EXPECT_EQ(particles->GetNumberVertexes(), 0);
    EXPECT_EQ(particles->HasUVCoords(), 0);
    particles->SetBoneData(NifVector{}, Matrix33{});
    EXPECT_EQ(texture->GetBoneBlock(0), nullptr);
    Matrix44 m;
    MakeTranslation(m, 1, 2, 3);
    texture->GetBoneMatrix(m);
    EXPECT_EQ(m.m[3][0], 0.0f);  // identity written
    EXPECT_EQ(MessageBoxLog(),
              "NiSourceTexture|GetId - ARGH\n"
              "getFileName|ARGH\n"
              "GetNumberVertexes|ARGH\n"
              "HasUVCoords|ARGH\n"
              "NiBSParticleNode|SetBoneData - ARGH\n"
              "NiSourceTexture|GetBoneBlock - ARGH\n"
              "NiSourceTexture|GetBoneMatrix - ARGH\n");
    EXPECT_FALSE(particles->IsBone());
}

TEST_F(NodeBlocks, QuietBaseAnswersAreNeutral) {
    NifBuilder b;
    b.FileStart(1);
    ZBufferPropertyBlock(b);
    b.Footer();
    Loaded loaded(b);
    ASSERT_EQ(loaded.failure, "");
    platform::headless::Reset();
    const NifBlock* block = loaded.file->GetRoot();
    EXPECT_EQ(block->IsShape(), 0);
    EXPECT_EQ(block->GetNumberChildren(), 0);
    EXPECT_EQ(block->GetNumberTriangles(), 0);
    EXPECT_EQ(block->GetTexturingProperty(), nullptr);
    EXPECT_EQ(block->GetMaterialProperty(), nullptr);
    EXPECT_EQ(block->GetAmbientColour().a, 0.0f);
    EXPECT_EQ(block->GetEmissiveColour().r, 0.0f);
    EXPECT_EQ(block->GetGlossiness(), 0.0f);
    EXPECT_EQ(block->GetAlpha(), 0.0f);
    Matrix44 m;
    MakeScaling(m, 3, 3, 3);
    block->GetLocalTransform(m);
    EXPECT_EQ(m.m[0][0], 1.0f);
    MakeScaling(m, 3, 3, 3);
    block->GetTransformAtTime(0.5f, m);
    EXPECT_EQ(m.m[0][0], 1.0f);
    EXPECT_TRUE(platform::headless::MessageBoxes().empty());
    EXPECT_EQ(block->GetBlockIndex(), 0);
    EXPECT_STREQ(block->GetTypeName(), "NiZBufferProperty");
}

}  // namespace
