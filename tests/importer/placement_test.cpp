// "Apply scene transforms": every vertex placed by the W of the path the walk
// reached its shape on, turned from the file's axes into the host's, triangles
// reversed under a mirror, animation and particle nodes walked, bones on their
// skin; and with the option off nothing of it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/importer/import_fixture.h"
#include "tests/support/nif_builder.h"

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

}  // namespace
