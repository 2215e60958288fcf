#include "importer/convert/conversion_size.h"

#include <string>

#include "importer/convert/scene_children.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/messages.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/node_blocks.h"
#include "importer/nif/text_exception.h"

namespace {

// What ImportShape adds for one arrival at a shape, asked without the
// message boxes that a wrong-type data link would show.
long long ShapeItems(NifBlock* shape) {
    long long items = 1;  // the mesh
    if (shape->GetTexturingProperty() != nullptr) items += 1;
    const NiTriShape* triShape = AsTriShape(shape);
    const NiTriShapeData* data = triShape ? triShape->ShapeData() : nullptr;
    if (data == nullptr) return items;
    items += data->GetNumberVertexes() > 0 ? data->GetNumberVertexes() : 0;
    items += data->GetNumberTriangles() > 0 ? data->GetNumberTriangles() : 0;
    return items;
}

// The same walk as ConvertBlock: pre-order, child links only. Its depth is
// bounded by the load, which linked parents along the same links.
void CountBlock(NifBlock* block, bool applySceneTransforms, long long limit, long long& total) {
    if (block->IsShape()) total += ShapeItems(block);
    if (block->IsBone()) total += 1;
    for (int i = 0; total <= limit && i < SceneChildCount(block, applySceneTransforms); ++i) {
        NifBlock* child = SceneChild(block, i, applySceneTransforms);
        if (child != nullptr) CountBlock(child, applySceneTransforms, limit, total);
    }
}

}  // namespace

long long CountConvertedItems(NifBlock* root, long long limit, bool applySceneTransforms) {
    long long total = 0;
    if (root != nullptr) CountBlock(root, applySceneTransforms, limit, total);
    return total;
}

void CheckConversionSize(NifBlock* root, DebugPrinter* printer, bool applySceneTransforms) {
    if (CountConvertedItems(root, kMaxConvertedItems, applySceneTransforms) <= kMaxConvertedItems) return;
    const std::string text = FormatText(nif_messages::kSceneTooLargeToImport, kMaxConvertedItems);
    printer->WriteLine(text);
    throw TextException(text);
}
