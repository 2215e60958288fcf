#include "importer/convert/stored_geometry.h"

#include "importer/nif/nif_file.h"
#include "importer/nif/node_blocks.h"

StoredGeometry FindStoredGeometry(NifBlock* shape) {
    StoredGeometry stored;
    const NiTriShape* triShape = AsTriShape(shape);
    if (triShape == nullptr) return stored;

    if (shape->GetOwner()->GetBlock(triShape->ShapeDataLink()) == nullptr) {
        stored.hasData = false;
        return stored;
    }
    // A block of another type answers the geometry questions itself.
    const NiTriShapeData* geometry = triShape->ShapeData();
    if (geometry == nullptr) return stored;

    // Every per-vertex array is read whole or not at all, so comparing sizes
    // with the vertex count tells whether it was stored.
    const size_t vertexCount = static_cast<size_t>(geometry->GetNumberVertexes());
    stored.hasPositions = geometry->Vertices().size() >= vertexCount;
    stored.hasTexCoords = geometry->TexCoords().size() >= vertexCount;
    return stored;
}
