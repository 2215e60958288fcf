#include "importer/convert/shape_import.h"

#include <string>
#include <utility>

#include "importer/convert/scene_placement.h"
#include "importer/convert/stored_geometry.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/messages.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/node_blocks.h"

namespace {

// The host copies texts and must never be handed a null one.
const char* TextOrEmpty(const char* text) { return text != nullptr ? text : ""; }

void SetColour(void (*setter)(msMaterial*, float*), msMaterial* material, const NifColour& colour) {
    float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
    setter(material, rgba);
}

// Directory first, then "/", then the file name exactly as the file stores it.
std::string TexturePath(const char* directory, const char* fileName) {
    std::string path(directory);
    path += '/';
    path += fileName;
    return path;
}

// Adds the shape's material and returns its index, or -1 when the host
// gave no material.
int ImportMaterial(msModel* model, NifBlock* shape, NifBlock* texturing, const char* textureDirectory) {
    NifBlock* materialProperty = shape->GetMaterialProperty();
    const int index = msModel_AddMaterial(model);
    msMaterial* material = msModel_GetMaterialAt(model, index);
    if (material == nullptr) return -1;

    if (materialProperty != nullptr) {
        msMaterial_SetName(material, TextOrEmpty(materialProperty->GetId()));
        SetColour(&msMaterial_SetAmbient, material, materialProperty->GetAmbientColour());
        SetColour(&msMaterial_SetDiffuse, material, materialProperty->GetDiffuseColour());
        SetColour(&msMaterial_SetSpecular, material, materialProperty->GetSpecularColour());
        SetColour(&msMaterial_SetEmissive, material, materialProperty->GetEmissiveColour());
        msMaterial_SetShininess(material, materialProperty->GetGlossiness());
        msMaterial_SetTransparency(material, materialProperty->GetAlpha());
    } else {
        // No material property: the material carries the shape's name and
        // keeps the host's default colours.
        msMaterial_SetName(material, TextOrEmpty(shape->GetId()));
    }

    // A texturing property without a usable base texture gives no path at all.
    const char* fileName = texturing->getFileName();
    if (fileName != nullptr) {
        msMaterial_SetDiffuseTexture(material, TexturePath(textureDirectory, fileName).c_str());
    }
    return index;
}

// Where the per-vertex and per-triangle questions go. A plain NiTriShape
// whose data link names a NiTriShapeData only forwards them to that block,
// which answers them without any other effect: they are asked of the data
// block directly, without looking it up again for every value. Any other
// shape is asked itself, as always.
class GeometryQuestions {
public:
    explicit GeometryQuestions(NifBlock* shape) : shape_(shape), data_(ForwardedTo(shape)) {}

    NifVector Vertex(int vertex) const { return data_ ? data_->VertexAt(vertex) : shape_->GetVertex(vertex); }
    NifTexCoord UVCoord(int vertex, int set) const {
        return data_ ? data_->UVCoordAt(vertex, set) : shape_->GetUVCoord(vertex, set);
    }
    uint16_t TriangleIndex(int position) const {
        return data_ ? data_->TriangleIndexAt(position) : shape_->GetTriangleIndex(position);
    }

private:
    static const NiTriShapeData* ForwardedTo(NifBlock* shape) {
        const NiTriShape* triShape = AsTriShape(shape);
        return triShape != nullptr && shape->GetOwner() != nullptr ? triShape->ShapeData() : nullptr;
    }

    NifBlock* shape_;
    const NiTriShapeData* data_;
};

// Adds the vertices and returns how many the mesh received. With a
// placement each stored position goes through it into the host's axes.
int ImportVertices(msMesh* mesh, NifBlock* shape, bool withTexCoords, const ScenePlacement* placement) {
    const int count = shape->GetNumberVertexes();
    // Asked once, and only when there is a vertex to give coordinates to.
    const bool texCoords = count > 0 && withTexCoords && shape->HasUVCoords() != 0;
    const GeometryQuestions geometry(shape);
    int received = 0;
    for (int i = 0; i < count; ++i) {
        msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
        if (vertex == nullptr) break;  // the host's vertex list is full
        ++received;
        const NifVector stored = geometry.Vertex(i);
        const NifVector position = placement != nullptr ? PlacePosition(*placement, stored) : stored;
        float xyz[3] = {position.x, position.y, position.z};
        msVertex_SetVertex(vertex, xyz);
        if (texCoords) {
            const NifTexCoord coord = geometry.UVCoord(i, 0);
            float uv[2] = {coord.u, coord.v};
            msVertex_SetTexCoords(vertex, uv);
        }
    }
    return received;
}

// One line on the run's debugger output, after the shape's last triangle.
void ReportSkippedTriangles(NifBlock* shape, int skipped) {
    const std::string line = FormatText(nif_messages::kSkippedTriangles, skipped, TextOrEmpty(shape->GetId()));
    shape->GetOwner()->GetDebugPrinter()->WriteLine(line);
}

// Adds the triangles whose three vertex indices lie below `vertexCount`;
// the host would read outside its vertex list for any other. Under a
// mirroring placement each triangle's corners go in reverse order.
void ImportTriangles(msMesh* mesh, NifBlock* shape, int vertexCount, bool reversed) {
    const int count = shape->GetNumberTriangles();
    const GeometryQuestions geometry(shape);
    int skipped = 0;
    for (int k = 0; k < count; ++k) {
        word indices[3] = {geometry.TriangleIndex(3 * k), geometry.TriangleIndex(3 * k + 1),
                           geometry.TriangleIndex(3 * k + 2)};
        if (indices[0] >= vertexCount || indices[1] >= vertexCount || indices[2] >= vertexCount) {
            ++skipped;
            continue;
        }
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
        if (triangle == nullptr) break;  // the host's triangle list is full
        if (reversed) std::swap(indices[0], indices[2]);
        msTriangle_SetVertexIndices(triangle, indices);
    }
    if (skipped > 0) ReportSkippedTriangles(shape, skipped);
}

void ReportUnplacedShape(NifBlock* shape) {
    const std::string line = FormatText(nif_messages::kTransformNotFinite, TextOrEmpty(shape->GetId()));
    shape->GetOwner()->GetDebugPrinter()->WriteLine(line);
}

}  // namespace

void ImportShape(msModel* model, NifBlock* shape, const char* textureDirectory, const ScenePlacement* placement) {
    msMesh* mesh = msModel_GetMeshAt(model, msModel_AddMesh(model));
    if (mesh == nullptr) return;
    msMesh_SetName(mesh, TextOrEmpty(shape->GetId()));

    if (NifBlock* texturing = shape->GetTexturingProperty()) {
        const int materialIndex = ImportMaterial(model, shape, texturing, textureDirectory);
        if (materialIndex >= 0) msMesh_SetMaterialIndex(mesh, materialIndex);
    }

    if (placement != nullptr && !placement->finite) ReportUnplacedShape(shape);
    // Shapes whose data is missing, or holds a vertex count without positions,
    // keep an empty mesh and ask nothing more.
    const StoredGeometry stored = FindStoredGeometry(shape);
    if (!stored.hasData || !stored.hasPositions) return;
    const int received = ImportVertices(mesh, shape, stored.hasTexCoords, placement);
    ImportTriangles(mesh, shape, received, placement != nullptr && placement->mirrors);
}
