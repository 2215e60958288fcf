// "Apply scene transforms": every vertex placed by the W of the path the walk
// reached its shape on, turned from the file's axes into the host's, triangles
// reversed under a mirror, animation and particle nodes walked, bones on their
// skin; and with the option off nothing of it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "importer/nif/text_exception.h"
#include "tests/importer/import_fixture.h"
#include "nif_builder/nif_builder.h"

namespace {

using Placement = ImportTest;

// Rotation records (three rows of three, for column vectors, as the file stores them).
constexpr std::array<float, 9> kTurnZ90 = {0, -1, 0, 1, 0, 0, 0, 0, 1};  // x -> y
constexpr std::array<float, 9> kMirrorZ = {1, 0, 0, 0, 1, 0, 0, 0, -1};

ObjectPlacement Placed(Point translation, std::array<float, 9> rotation = {1, 0, 0, 0, 1, 0, 0, 0, 1},
                       float scale = 1.0f) {
    ObjectPlacement placement;
    placement.translation = translation;
    placement.rotation = rotation;
    placement.scale = scale;
    return placement;
}

// Blocks 0 .. n-1: a chain of NiNodes with `nodes` placements; block n: the
// shape "Part" with `shape`'s placement and the data block n + 1 with one
// triangle over (1, 0, 0), (0, 1, 0), (0, 0, 1).
NifBuilder Chain(const std::vector<ObjectPlacement>& nodes, const ObjectPlacement& shape) {
    const int n = static_cast<int>(nodes.size());
    NifBuilder nif;
    nif.FileStart(n + 2);
    for (int i = 0; i < n; ++i) NodeBlock(nif, "Node", {i + 1}, {}, -1, -1, {}, nodes[static_cast<size_t>(i)]);
    TriShapeBlock(nif, "Part", n + 1, -1, {}, -1, -1, shape);
    TriShapeDataBlock(nif, TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    nif.Footer();
    return nif;
}

struct ChainCase {
    const char* what;
    std::vector<ObjectPlacement> nodes;  // block 0 first
    ObjectPlacement shape;
    Float3 first;  // where stored vertex (1, 0, 0) lands, in the host's axes
};

TEST_F(Placement, VerticesGoThroughThePathsTransformsThenTurnToTheHostsAxes) {
    // File (x, y, z) -> host (x, z, -y). The values are exact in floats.
    const ChainCase cases[] = {
        {"no transform: only the axes turn", {{}}, {}, {1, 0, 0}},
        {"translations add up", {Placed({1, 2, 3}), Placed({10, 0, 0})}, {}, {12, 3, -2}},
        {"rotation of a node", {Placed({0, 0, 0}, kTurnZ90)}, {}, {0, 0, -1}},
        {"scale of a node", {Placed({0, 0, 5}, kTurnZ90, 2)}, {}, {0, 5, -2}},
        {"one block: rotation, then scale, then translation", {{}}, Placed({1, 0, 0}, kTurnZ90, 2), {1, 0, -2}},
        {"the shape's own first, block 0's last", {Placed({0, 0, 0}, kTurnZ90)}, Placed({1, 0, 0}), {0, 0, -2}},
        {"block 0 counts", {Placed({0, 0, 0}, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 3), {}}, {}, {3, 0, 0}},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.what);
        model_ = MakeModel();
        ASSERT_EQ(Import(Chain(c.nodes, c.shape), true), 0);
        ASSERT_EQ(MeshCount(), 1);
        EXPECT_EQ(Vertex(0, 0), c.first);
    }
}

TEST_F(Placement, OffKeepsTheStoredPositions) {
    ASSERT_EQ(Import(Chain({Placed({1, 2, 3}, kTurnZ90, 2)}, Placed({4, 5, 6}, kMirrorZ)), false), 0);
    EXPECT_EQ(Vertex(0, 0), (Float3{1, 0, 0}));
    EXPECT_EQ(Vertex(0, 1), (Float3{0, 1, 0}));
    EXPECT_EQ(TriangleIndices(0, 0), (Index3{0, 1, 2}));
}

TEST_F(Placement, EverythingButThePositionsStaysAsStored) {
    // A textured shape under a moved node: name, material, texture path,
    // texture coordinates and triangles are those of the default import.
    const auto build = [] {
        Geometry geometry = TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1});
        geometry.uvSets = {{{0.25f, 0.5f}, {0.75f, 1}, {1, 0}}};
        NifBuilder nif;
        nif.FileStart(6);
        NodeBlock(nif, "Root", {1}, {}, -1, -1, {}, Placed({7, 8, 9}, kTurnZ90, 2));
        TriShapeBlock(nif, "Box", 5, -1, {2, 4});
        TexturingPropertyBlock(nif, 3);
        SourceTextureBlock(nif, "wood.tga");
        MaterialPropertyBlock(nif, "Wood");
        TriShapeDataBlock(nif, geometry);
        nif.Footer();
        return nif;
    };
    SetTextureDirectory("T");
    ASSERT_EQ(Import(build(), false), 0);
    ModelPtr plain = std::move(model_);
    model_ = MakeModel();
    ASSERT_EQ(Import(build(), true), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "Box");
    EXPECT_EQ(MaterialName(0), "Wood");
    EXPECT_EQ(TexturePath(0), "T/wood.tga");
    EXPECT_EQ(msMesh_GetMaterialIndex(Mesh(0)), 0);
    EXPECT_EQ(Colour(&msMaterial_GetDiffuse, MaterialAt(0)),
              Colour(&msMaterial_GetDiffuse, msModel_GetMaterialAt(plain.get(), 0)));
    EXPECT_EQ(TexCoords(0, 1), (Float2{0.75f, 1}));
    EXPECT_EQ(TriangleIndices(0, 0), (Index3{0, 1, 2}));
    // (1, 0, 0) turned to y, doubled, moved by (7, 8, 9), then into the host's axes.
    EXPECT_EQ(Vertex(0, 0), (Float3{7, 9, -10}));
}

TEST_F(Placement, SharedSubtreeIsPlacedOncePerPathWithThatPathsTransform) {
    // 0 Root -> 1 "Left" (x + 10) -> 3;  0 Root -> 2 "Up" (y + 10) -> 3;
    // 3 "Joint" (z + 1) -> 4 shape "Part".
    NifBuilder nif;
    nif.FileStart(6);
    NodeBlock(nif, "Root", {1, 2});
    NodeBlock(nif, "Left", {3}, {}, -1, -1, {}, Placed({10, 0, 0}));
    NodeBlock(nif, "Up", {3}, {}, -1, -1, {}, Placed({0, 10, 0}));
    NodeBlock(nif, "Joint", {4}, {}, -1, -1, {}, Placed({0, 0, 1}));
    TriShapeBlock(nif, "Part", 5);
    TriShapeDataBlock(nif, TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    nif.Footer();

    ASSERT_EQ(Import(nif, true), 0);
    ASSERT_EQ(MeshCount(), 2);
    EXPECT_EQ(MeshName(0), "Part");
    EXPECT_EQ(MeshName(1), "Part");
    EXPECT_EQ(Vertex(0, 0), (Float3{11, 1, 0}));  // file (11, 0, 1)
    EXPECT_EQ(Vertex(1, 0), (Float3{1, 1, -10}));  // file (1, 10, 1)
}

struct MirrorCase {
    const char* what;
    ObjectPlacement node;
    ObjectPlacement shape;
    Index3 triangle;
};

TEST_F(Placement, TrianglesAreReversedOnlyWhereWMirrors) {
    const MirrorCase cases[] = {
        {"turn and scale", Placed({1, 2, 3}, kTurnZ90, 2), {}, {0, 1, 2}},
        {"negative scale", Placed({0, 0, 0}, {1, 0, 0, 0, 1, 0, 0, 0, 1}, -1), {}, {2, 1, 0}},
        {"mirroring rotation record", {}, Placed({0, 0, 0}, kMirrorZ), {2, 1, 0}},
        {"two mirrors cancel", Placed({0, 0, 0}, kMirrorZ), Placed({0, 0, 0}, kMirrorZ), {0, 1, 2}},
    };
    for (const MirrorCase& c : cases) {
        SCOPED_TRACE(c.what);
        model_ = MakeModel();
        ASSERT_EQ(Import(Chain({c.node}, c.shape), true), 0);
        EXPECT_EQ(TriangleIndices(0, 0), c.triangle);
    }
}

TEST_F(Placement, MirroredVerticesAreStillPlaced) {
    ASSERT_EQ(Import(Chain({Placed({0, 0, 0}, kMirrorZ)}, {}), true), 0);
    EXPECT_EQ(Vertex(0, 2), (Float3{0, -1, 0}));  // file (0, 0, -1)
}

TEST_F(Placement, ShapeWhoseTransformIsNotFiniteKeepsItsStoredPositionsInTheHostsAxes) {
    const float infinity = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const ObjectPlacement notFinite[] = {Placed({0, 0, 0}, {1, 0, 0, 0, 1, 0, 0, 0, 1}, infinity),
                                         Placed({nan, 0, 0}), Placed({0, 0, 0}, {1, 0, 0, 0, nan, 0, 0, 0, 1})};
    for (const ObjectPlacement& node : notFinite) {
        model_ = MakeModel();
        platform::headless::Reset();
        // The not-finite node mirrors nothing: its triangles keep their order.
        ASSERT_EQ(Import(Chain({Placed({1, 0, 0}), node}, Placed({0, 0, 0}, kMirrorZ)), true), 0);
        EXPECT_EQ(Vertex(0, 1), (Float3{0, 0, -1}));
        EXPECT_EQ(Vertex(0, 2), (Float3{0, 1, 0}));
        EXPECT_EQ(TriangleIndices(0, 0), (Index3{0, 1, 2}));
        EXPECT_EQ(platform::headless::DebugText(),
                  "Transform of shape 'Part' is not finite; its vertices are not placed\n");
    }
}

TEST_F(Placement, AnimationNodeRootIsWalkedWithItsOwnTransform) {
    // 0 NiBSAnimationNode "Banner" (z + 5) -> 1 shape "Cloth".
    NifBuilder nif;
    nif.FileStart(3);
    OtherNodeBlock(nif, "NiBSAnimationNode", "Banner", {1}, Placed({0, 0, 5}));
    TriShapeBlock(nif, "Cloth", 2);
    TriShapeDataBlock(nif, TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    nif.Footer();

    EXPECT_EQ(Import(nif, false), 1);
    EXPECT_EQ(MeshCount(), 0);
    model_ = MakeModel();
    ASSERT_EQ(Import(nif, true), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "Cloth");
    EXPECT_EQ(Vertex(0, 0), (Float3{1, 5, 0}));
}

TEST_F(Placement, ParticleNodeIsWalkedAndCollisionNodeIsNot) {
    // 0 Root -> 1 RootCollisionNode -> 3 "Hull";  0 Root -> 2 NiBSParticleNode (x + 2) -> 4 "Spark".
    NifBuilder nif;
    nif.FileStart(6);
    NodeBlock(nif, "Root", {1, 2});
    OtherNodeBlock(nif, "RootCollisionNode", "Collision", {3});
    OtherNodeBlock(nif, "NiBSParticleNode", "Particles", {4}, Placed({2, 0, 0}));
    TriShapeBlock(nif, "Hull", 5);
    TriShapeBlock(nif, "Spark", 5);
    TriShapeDataBlock(nif, TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    nif.Footer();

    ASSERT_EQ(Import(nif, true), 0);
    ASSERT_EQ(MeshCount(), 1);
    EXPECT_EQ(MeshName(0), "Spark");
    EXPECT_EQ(Vertex(0, 0), (Float3{3, 0, 0}));
}

// What the load made of a file with the option on or off: the failure's
// text (empty when it loaded), the debugger output, the meshes added.
struct Load {
    std::string failure;
    std::string debugText;
    int meshes = 0;
};

// Nodes 0 .. count-1: block 0 a NiNode, the others of `typeName`, each
// listing `children(i)`; block count: the shape "End" and count + 1 its data.
template <class Children>
NifBuilder NodeGraph(int count, const char* typeName, Children children) {
    NifBuilder nif;
    nif.FileStart(count + 2);
    for (int i = 0; i < count; ++i) {
        const std::vector<int32_t> links = children(i);
        if (i == 0) {
            NodeBlock(nif, "Root", links);
        } else {
            OtherNodeBlock(nif, typeName, "Level", links);
        }
    }
    TriShapeBlock(nif, "End", count + 1);
    TriShapeDataBlock(nif, TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    nif.Footer();
    return nif;
}

NifBuilder AnimationChain(int nodes) {
    return NodeGraph(nodes, "NiBSAnimationNode", [nodes](int i) { return std::vector<int32_t>{i + 1 < nodes ? i + 1 : nodes}; });
}

struct BoundCase {
    const char* what;
    NifBuilder file;
    const char* failureWithOption;  // nullptr: the file loads
    int meshesWithOption;
};

TEST_F(Placement, LoadFollowsAnimationNodesWithItsBoundsOnlyWithTheOption) {
    constexpr char kTooDeep[] = "Scene graph nested too deeply (more than 1000 levels).";
    constexpr char kTooManyVisits[] = "Scene graph too large (more than 1000000 block visits).";
    const BoundCase cases[] = {
        {"1,000 levels: the shape at the deepest level accepted", AnimationChain(999), nullptr, 1},
        {"1,001 levels", AnimationChain(1000), kTooDeep, 0},
        {"a loop of two animation nodes", NodeGraph(3, "NiBSAnimationNode", [](int i) {
             return i == 0 ? std::vector<int32_t>{1} : std::vector<int32_t>{3 - i};
         }), kTooDeep, 0},
        {"particle nodes sharing their child level after level", NodeGraph(30, "NiBSParticleNode", [](int i) {
             return i + 1 < 30 ? std::vector<int32_t>{i + 1, i + 1} : std::vector<int32_t>{30};
         }), kTooManyVisits, 0},
    };
    for (const BoundCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool option : {false, true}) {
            model_ = MakeModel();
            platform::headless::Reset();
            std::string failure;
            try {
                Import(c.file, option);
            } catch (const TextException& error) {
                failure = error.Text();
            }
            if (!option || c.failureWithOption == nullptr) {
                // Without the option the animation nodes stay closed: nothing below them is walked.
                EXPECT_EQ(failure, "");
                EXPECT_EQ(MeshCount(), option ? c.meshesWithOption : 0);
                continue;
            }
            EXPECT_EQ(failure, c.failureWithOption);
            EXPECT_EQ(platform::headless::DebugText(), std::string(c.failureWithOption) + "\n");
            EXPECT_EQ(MeshCount(), 0);
        }
    }
}

// 0 Root -> 1 "A" -> 2 "B";  0 Root -> 3 "Moved" (scale 2, z + 10) -> 4 skinned shape "Skin"
// (data 5, skin 6); 6 NiSkinInstance (data 7, bones A and B); 7 NiSkinData:
// A's record at z - 1, B's at z - 3 (bind positions z + 1 and z + 3).
NifBuilder SkinUnderAMovedNode() {
    BoneRecord a, b;
    a.translation = {0, 0, -1};
    b.translation = {0, 0, -3};
    NifBuilder nif;
    nif.FileStart(8);
    NodeBlock(nif, "Root", {1, 3});
    NodeBlock(nif, "A", {2}, {}, -1, -1, {}, Placed({50, 0, 0}));  // its own place does not count
    NodeBlock(nif, "B");
    NodeBlock(nif, "Moved", {4}, {}, -1, -1, {}, Placed({0, 0, 10}, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 2));
    TriShapeBlock(nif, "Skin", 5, 6);
    TriShapeDataBlock(nif, TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    SkinInstanceBlock(nif, 7, 1, {1, 2});
    SkinDataBlock(nif, {a, b});
    nif.Footer();
    return nif;
}

TEST_F(Placement, BonesGoThroughTheirSkinnedShapesTransform) {
    ASSERT_EQ(Import(SkinUnderAMovedNode(), true), 0);
    ASSERT_EQ(BoneCount(), 2);
    EXPECT_EQ(BoneName(0), "A");
    EXPECT_EQ(BonePosition(0), (Float3{0, 12, 0}));  // file (0, 0, 2 * 1 + 10)
    EXPECT_EQ(BoneName(1), "B");
    EXPECT_EQ(BoneParent(1), "A");
    EXPECT_EQ(BonePosition(1), (Float3{0, 4, 0}));  // file (0, 0, 16), less A's
    EXPECT_EQ(BoneRotation(1), (Float3{0, 0, 0}));
    EXPECT_EQ(Vertex(0, 2), (Float3{0, 12, 0}));    // the skin's vertex (0, 0, 1) sits on A
}

TEST_F(Placement, BoneTakesTheShapeOfItsLastRecord) {
    // 0 Root -> 1 "A";  0 Root -> 2 "Near" (x + 10) -> 4 "First" (skin 6 -> data 7: A at z + 1);
    // 0 Root -> 3 "Far" (x + 20) -> 5 "Second" (skin 8 -> data 9: A at z + 2); shared data 10.
    BoneRecord first, second;
    first.translation = {0, 0, -1};
    second.translation = {0, 0, -2};
    NifBuilder nif;
    nif.FileStart(11);
    NodeBlock(nif, "Root", {1, 2, 3});
    NodeBlock(nif, "A");
    NodeBlock(nif, "Near", {4}, {}, -1, -1, {}, Placed({10, 0, 0}));
    NodeBlock(nif, "Far", {5}, {}, -1, -1, {}, Placed({20, 0, 0}));
    TriShapeBlock(nif, "First", 10, 6);
    TriShapeBlock(nif, "Second", 10, 8);
    SkinInstanceBlock(nif, 7, 1, {1});
    SkinDataBlock(nif, {first});
    SkinInstanceBlock(nif, 9, 1, {1});
    SkinDataBlock(nif, {second});
    TriShapeDataBlock(nif, TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    nif.Footer();

    ASSERT_EQ(Import(nif, true), 0);
    ASSERT_EQ(BoneCount(), 1);
    EXPECT_EQ(BonePosition(0), (Float3{20, 2, 0}));
}

TEST_F(Placement, BoneWithoutARecordSitsWhereTheScenePutsItsNode) {
    // 0 Root (x + 1) -> 1 "Bip01" (4, 5, 6) -> 2 "Bip01 Spine" (z + 2, a bone by a skin's list only).
    NifBuilder nif;
    nif.FileStart(7);
    NodeBlock(nif, "Root", {1, 3}, {}, -1, -1, {}, Placed({1, 0, 0}));
    NodeBlock(nif, "Bip01", {2}, {}, -1, -1, {}, Placed({4, 5, 6}));
    NodeBlock(nif, "Bip01 Spine", {}, {}, -1, -1, {}, Placed({0, 0, 2}));
    TriShapeBlock(nif, "Skin", 4, 5);
    TriShapeDataBlock(nif, TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    SkinInstanceBlock(nif, 6, 1, {2});
    SkinDataBlock(nif, {});  // no records: the spine is marked only
    nif.Footer();

    ASSERT_EQ(Import(nif, false), 0);
    EXPECT_EQ(BonePosition(0), (Float3{0, 0, 0}));
    model_ = MakeModel();
    ASSERT_EQ(Import(nif, true), 0);
    ASSERT_EQ(BoneCount(), 2);
    EXPECT_EQ(BonePosition(0), (Float3{5, 6, -5}));  // file (5, 5, 6)
    EXPECT_EQ(BoneParent(1), "Bip01");
    EXPECT_EQ(BonePosition(1), (Float3{0, 2, 0}));   // file (5, 5, 8), less Bip01's
}

TEST_F(Placement, SkinUnderAnAnimationNodeMarksAndPlacesItsBonesWithTheOption) {
    // 0 Root -> 1 NiBSAnimationNode (y + 3) -> 2 skinned shape (data 3, skin 4); 1 -> 6 "Bone";
    // 4 NiSkinInstance (data 5, bone 6); 5 NiSkinData: the bone at z + 1.
    BoneRecord record;
    record.translation = {0, 0, -1};
    NifBuilder nif;
    nif.FileStart(7);
    NodeBlock(nif, "Root", {1});
    OtherNodeBlock(nif, "NiBSAnimationNode", "Flag", {2, 6}, Placed({0, 3, 0}));
    TriShapeBlock(nif, "Cloth", 3, 4);
    TriShapeDataBlock(nif, TriangleGeometry({1, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    SkinInstanceBlock(nif, 5, 0, {6});
    SkinDataBlock(nif, {record});
    NodeBlock(nif, "Bone");
    nif.Footer();

    EXPECT_EQ(Import(nif, false), 1);
    EXPECT_EQ(BoneCount(), 0);
    model_ = MakeModel();
    ASSERT_EQ(Import(nif, true), 0);
    ASSERT_EQ(BoneCount(), 1);
    EXPECT_EQ(BoneName(0), "Bone");
    EXPECT_EQ(BonePosition(0), (Float3{0, 1, -3}));  // file (0, 3, 1)
}

}  // namespace
