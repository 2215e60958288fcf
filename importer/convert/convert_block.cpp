#include "importer/convert/convert_block.h"

#include "importer/convert/bone_import.h"
#include "importer/convert/scene_children.h"
#include "importer/convert/scene_placement.h"
#include "importer/convert/shape_import.h"
#include "importer/nif/nif_block.h"

// Kept small: shapes and bones are converted in functions of their own so that
// a deep scene graph costs only this frame per level.
int ConvertBlock(msModel* model, NifBlock* block, const char* textureDirectory) {
    int result = 0;
    if (block->IsShape()) {
        ImportShape(model, block, textureDirectory);
        result = 1;
    }
    if (block->IsBone()) {
        ImportBone(model, block);
    }
    // The child count is asked again before every step, as the node reports it.
    for (int i = 0; i < block->GetNumberChildren(); ++i) {
        NifBlock* child = block->GetChild(i);
        if (child != nullptr && ConvertBlock(model, child, textureDirectory) == 1) result = 1;
    }
    return result;
}

namespace {

void ImportPlacedShape(msModel* model, NifBlock* shape, const char* textureDirectory, const Matrix44& world) {
    const ScenePlacement placement = PlacementOf(world);
    ImportShape(model, shape, textureDirectory, &placement);
}

// `above`: W of the path down to this block's parent (identity at the root).
// This frame holds one matrix more than ConvertBlock's.
int ConvertPlacedBlock(msModel* model, NifBlock* block, const char* textureDirectory, const Matrix44& above) {
    Matrix44 world;
    SceneLocalTransform(block, world);
    Multiply(world, world, above);
    int result = 0;
    if (block->IsShape()) {
        ImportPlacedShape(model, block, textureDirectory, world);
        result = 1;
    }
    if (block->IsBone()) {
        ImportPlacedBone(model, block);
    }
    for (int i = 0; i < SceneChildCount(block, true); ++i) {
        NifBlock* child = SceneChild(block, i, true);
        if (child != nullptr && ConvertPlacedBlock(model, child, textureDirectory, world) == 1) result = 1;
    }
    return result;
}

}  // namespace

int ConvertPlacedScene(msModel* model, NifBlock* root, const char* textureDirectory) {
    Matrix44 identity;
    Identity(identity);
    return ConvertPlacedBlock(model, root, textureDirectory, identity);
}
