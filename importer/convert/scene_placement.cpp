#include "importer/convert/scene_placement.h"

#include <cmath>

#include "importer/nif/block_kind.h"
#include "importer/nif/block_table.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/node_blocks.h"

namespace {

constexpr BlockKinds kNodeKinds(BlockKind::NiNode, BlockKind::NiBSAnimationNode, BlockKind::NiBSParticleNode,
                                 BlockKind::RootCollisionNode);

// The blocks whose object record holds a placement the scene uses.
const ObjectRecord* PlacedObject(const NifBlock* block) {
    if (const NiTriShape* shape = AsTriShape(block)) return &shape->Object();
    if (kNodeKinds.Contains(block->Kind())) return &static_cast<const NodeBlock*>(block)->Object();
    return nullptr;
}

bool IsFinite(const Matrix44& matrix) {
    for (const auto& row : matrix.m) {
        for (float value : row) {
            if (!std::isfinite(value)) return false;
        }
    }
    return true;
}

// The determinant of the rotation and scale part; computed in double so
// that a small scale does not lose the sign.
double LinearDeterminant(const Matrix44& w) {
    const auto at = [&](int i, int j) { return static_cast<double>(w.m[i][j]); };
    return at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
           at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
           at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
}

}  // namespace

void SceneLocalTransform(const NifBlock* block, Matrix44& output) {
    const ObjectRecord* object = block != nullptr ? PlacedObject(block) : nullptr;
    if (object != nullptr) {
        object->LocalTransform(output);
    } else {
        Identity(output);
    }
}

ScenePlacement PlacementOf(const Matrix44& world) {
    ScenePlacement placement;
    placement.world = world;
    placement.finite = IsFinite(world);
    placement.mirrors = placement.finite && LinearDeterminant(world) < 0.0;
    return placement;
}

void WorldThroughParents(const NifBlock* block, Matrix44& output) {
    Identity(output);
    Matrix44 local;
    for (int depth = 0; block != nullptr && depth < BlockTable::kMaxWalkDepth; ++depth) {
        SceneLocalTransform(block, local);
        Multiply(output, output, local);
        block = block->GetParent();
    }
}

NifVector ToHostAxes(const NifVector& file) {
    NifVector host;
    host.x = file.x;
    host.y = file.z;
    host.z = -file.y;
    return host;
}

NifVector PlacePosition(const ScenePlacement& placement, const NifVector& stored) {
    if (!placement.finite) return ToHostAxes(stored);
    const float point[3] = {stored.x, stored.y, stored.z};
    float placed[4];
    TransformPoint(placed, point, placement.world);
    NifVector scene;
    scene.x = placed[0];
    scene.y = placed[1];
    scene.z = placed[2];
    return ToHostAxes(scene);
}
