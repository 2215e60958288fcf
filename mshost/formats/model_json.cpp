// Writing the model as JSON, and the file forms of load and save.
#include "mshost/formats/model_json.h"

#include "mshost/files/file_io.h"
#include "mshost/formats/model_text.h"

namespace mshost {
namespace {

void WriteMesh(JsonWriter& writer, msMesh* mesh) {
    writer.BeginObject();
    writer.Key("name");
    writer.Text(ModelText(msMesh_GetName, mesh));
    writer.Key("material");
    writer.Integer(msMesh_GetMaterialIndex(mesh));

    const int vertexCount = msMesh_GetVertexCount(mesh);
    writer.Key("vertices");
    writer.BeginArray();
    for (int i = 0; i < vertexCount; ++i) {
        float xyz[3];
        msVertex_GetVertex(msMesh_GetVertexAt(mesh, i), xyz);
        writer.Floats(xyz, 3);
    }
    writer.EndArray();
    writer.Key("texcoords");
    writer.BeginArray();
    for (int i = 0; i < vertexCount; ++i) {
        float uv[2];
        msVertex_GetTexCoords(msMesh_GetVertexAt(mesh, i), uv);
        writer.Floats(uv, 2);
    }
    writer.EndArray();

    writer.Key("normals");
    writer.BeginArray();
    const int normalCount = msMesh_GetVertexNormalCount(mesh);
    for (int i = 0; i < normalCount; ++i) {
        float xyz[3];
        msMesh_GetVertexNormalAt(mesh, i, xyz);
        writer.Floats(xyz, 3);
    }
    writer.EndArray();

    const int triangleCount = msMesh_GetTriangleCount(mesh);
    for (const bool normals : {false, true}) {
        writer.Key(normals ? "triangleNormals" : "triangles");
        writer.BeginArray();
        for (int i = 0; i < triangleCount; ++i) {
            word indices[3];
            msTriangle* triangle = msMesh_GetTriangleAt(mesh, i);
            if (normals) {
                msTriangle_GetNormalIndices(triangle, indices);
            } else {
                msTriangle_GetVertexIndices(triangle, indices);
            }
            writer.BeginArray(true);
            for (word index : indices) writer.Integer(index);
            writer.EndArray();
        }
        writer.EndArray();
    }
    writer.EndObject();
}

void WriteMaterial(JsonWriter& writer, msMaterial* material) {
    writer.BeginObject();
    writer.Key("name");
    writer.Text(ModelText(msMaterial_GetName, material));
    const struct {
        const char* key;
        void (*getter)(msMaterial*, float*);
    } colours[] = {{"ambient", msMaterial_GetAmbient},
                   {"diffuse", msMaterial_GetDiffuse},
                   {"specular", msMaterial_GetSpecular},
                   {"emissive", msMaterial_GetEmissive}};
    for (const auto& colour : colours) {
        float rgba[4];
        colour.getter(material, rgba);
        writer.Key(colour.key);
        writer.Floats(rgba, 4);
    }
    writer.Key("shininess");
    writer.Float(msMaterial_GetShininess(material));
    writer.Key("transparency");
    writer.Float(msMaterial_GetTransparency(material));
    writer.Key("diffuseTexture");
    writer.Text(ModelText(msMaterial_GetDiffuseTexture, material));
    writer.EndObject();
}

void WriteBone(JsonWriter& writer, msBone* bone) {
    writer.BeginObject();
    writer.Key("name");
    writer.Text(ModelText(msBone_GetName, bone));
    writer.Key("parent");
    writer.Text(ModelText(msBone_GetParentName, bone));
    float xyz[3];
    msBone_GetPosition(bone, xyz);
    writer.Key("position");
    writer.Floats(xyz, 3);
    msBone_GetRotation(bone, xyz);
    writer.Key("rotation");
    writer.Floats(xyz, 3);
    writer.EndObject();
}

}  // namespace

void WriteModelJson(JsonWriter& writer, msModel* model) {
    writer.BeginObject();
    writer.Key("meshes");
    writer.BeginArray();
    for (int i = 0; i < msModel_GetMeshCount(model); ++i) WriteMesh(writer, msModel_GetMeshAt(model, i));
    writer.EndArray();
    writer.Key("materials");
    writer.BeginArray();
    for (int i = 0; i < msModel_GetMaterialCount(model); ++i) WriteMaterial(writer, msModel_GetMaterialAt(model, i));
    writer.EndArray();
    writer.Key("bones");
    writer.BeginArray();
    for (int i = 0; i < msModel_GetBoneCount(model); ++i) WriteBone(writer, msModel_GetBoneAt(model, i));
    writer.EndArray();
    writer.EndObject();
}

std::string ModelJsonText(msModel* model) {
    JsonWriter writer;
    WriteModelJson(writer, model);
    return writer.Output() + "\n";
}

bool LoadJsonModel(const char* path, msModel* model, std::string* error) {
    std::string text;
    if (!ReadWholeFile(path, &text, error)) return false;
    if (!ReadModelJson(text, model, error)) {
        *error = std::string(path) + ": " + *error;
        return false;
    }
    return true;
}

bool SaveJsonModel(const char* path, msModel* model, std::string* error) {
    return WriteWholeFile(path, ModelJsonText(model), error);
}

}  // namespace mshost
