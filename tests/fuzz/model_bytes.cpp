#include "tests/fuzz/model_bytes.h"

#include <cstring>

namespace modelbytes {

namespace {

class Decoder {
public:
    Decoder(const uint8_t* data, size_t size) : data_(data), left_(size) {}

    int Byte() {
        if (left_ == 0) return 0;
        --left_;
        return *data_++;
    }
    int Word() { return Byte() | (Byte() << 8); }
    float Float() {
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(Byte()) << (8 * i);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    void Floats(float* out, int count) {
        for (int i = 0; i < count; ++i) out[i] = Float();
    }
    std::string Text() {
        const int length = Word() % (kMaxTextLength + 1);
        std::string text;
        for (int i = 0; i < length; ++i) text += static_cast<char>(Byte());
        return text.c_str();  // a zero byte ends the text early
    }

private:
    const uint8_t* data_;
    size_t left_;
};

void DecodeMaterial(Decoder& in, msMaterial* material) {
    float rgba[4];
    msMaterial_SetName(material, in.Text().c_str());
    in.Floats(rgba, 4);
    msMaterial_SetAmbient(material, rgba);
    in.Floats(rgba, 4);
    msMaterial_SetDiffuse(material, rgba);
    in.Floats(rgba, 4);
    msMaterial_SetSpecular(material, rgba);
    in.Floats(rgba, 4);
    msMaterial_SetEmissive(material, rgba);
    msMaterial_SetShininess(material, in.Float());
    msMaterial_SetTransparency(material, in.Float());
    msMaterial_SetDiffuseTexture(material, in.Text().c_str());
}

void DecodeMesh(Decoder& in, msMesh* mesh) {
    msMesh_SetName(mesh, in.Text().c_str());
    msMesh_SetMaterialIndex(mesh, static_cast<int8_t>(in.Byte()));
    const int vertices = in.Word() % (kMaxListLength + 1);
    for (int i = 0; i < vertices; ++i) {
        msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
        float xyz[3], uv[2];
        in.Floats(xyz, 3);
        in.Floats(uv, 2);
        msVertex_SetVertex(vertex, xyz);
        msVertex_SetTexCoords(vertex, uv);
    }
    const int normals = in.Word() % (kMaxListLength + 1);
    for (int i = 0; i < normals; ++i) {
        float xyz[3];
        in.Floats(xyz, 3);
        msMesh_SetVertexNormalAt(mesh, msMesh_AddVertexNormal(mesh), xyz);
    }
    const int triangles = in.Word() % (kMaxListLength + 1);
    for (int i = 0; i < triangles; ++i) {
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
        word corners[3], normalIndices[3];
        for (word& corner : corners) corner = static_cast<word>(in.Word());
        for (word& normal : normalIndices) normal = static_cast<word>(in.Word());
        msTriangle_SetVertexIndices(triangle, corners);
        msTriangle_SetNormalIndices(triangle, normalIndices);
    }
}

void DecodeBone(Decoder& in, msBone* bone) {
    float xyz[3];
    msBone_SetName(bone, in.Text().c_str());
    msBone_SetParentName(bone, in.Text().c_str());
    in.Floats(xyz, 3);
    msBone_SetPosition(bone, xyz);
    in.Floats(xyz, 3);
    msBone_SetRotation(bone, xyz);
}

}  // namespace

void DecodeModel(const uint8_t* data, size_t size, msModel* model) {
    Decoder in(data, size);
    const int materials = in.Byte() % (kMaxItems + 1);
    for (int i = 0; i < materials; ++i) DecodeMaterial(in, msModel_GetMaterialAt(model, msModel_AddMaterial(model)));
    const int meshes = in.Byte() % (kMaxItems + 1);
    for (int i = 0; i < meshes; ++i) DecodeMesh(in, msModel_GetMeshAt(model, msModel_AddMesh(model)));
    const int bones = in.Byte() % (kMaxItems + 1);
    for (int i = 0; i < bones; ++i) DecodeBone(in, msModel_GetBoneAt(model, msModel_AddBone(model)));
}

Encoder& Encoder::Byte(int value) {
    bytes_ += static_cast<char>(value & 0xFF);
    return *this;
}

Encoder& Encoder::Word(int value) { return Byte(value).Byte(value >> 8); }

Encoder& Encoder::Float(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) Byte(static_cast<int>(bits >> (8 * i)));
    return *this;
}

Encoder& Encoder::Text(const std::string& text) {
    Word(static_cast<int>(text.size()));
    bytes_ += text;
    return *this;
}

}  // namespace modelbytes
