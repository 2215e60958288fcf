#include "importer/convert/convert_block.h"

#include "importer/convert/bone_import.h"
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
