// Material and bone functions of the stand-in model library. Null handles
// never crash: setters do nothing, getters give zeros and empty texts.
#include "host/msLib.h"
#include "mshost/model/model_items.h"

using model_items::CopyFloats;
using model_items::CopyText;

namespace {

const msMaterial& MaterialOrZeros(const msMaterial* material) {
    static const msMaterial kZeros = [] {
        msMaterial zeros;
        for (int i = 0; i < 4; ++i) zeros.ambient[i] = zeros.diffuse[i] = zeros.specular[i] = zeros.emissive[i] = 0.0f;
        zeros.transparency = 0.0f;
        return zeros;
    }();
    return material ? *material : kZeros;
}

const msBone& BoneOrZeros(const msBone* bone) {
    static const msBone kZeros;
    return bone ? *bone : kZeros;
}

}  // namespace

extern "C" {

void msMaterial_SetName(msMaterial* material, const char* name) {
    if (material) model_items::SetText(material->name, name, kMaxNameLength);
}
void msMaterial_GetName(msMaterial* material, char* name, int max) { CopyText(MaterialOrZeros(material).name, name, max); }

void msMaterial_SetAmbient(msMaterial* material, float* rgba) {
    if (material) CopyFloats<4>(material->ambient, rgba);
}
void msMaterial_GetAmbient(msMaterial* material, float* rgba) { CopyFloats<4>(rgba, MaterialOrZeros(material).ambient); }
void msMaterial_SetDiffuse(msMaterial* material, float* rgba) {
    if (material) CopyFloats<4>(material->diffuse, rgba);
}
void msMaterial_GetDiffuse(msMaterial* material, float* rgba) { CopyFloats<4>(rgba, MaterialOrZeros(material).diffuse); }
void msMaterial_SetSpecular(msMaterial* material, float* rgba) {
    if (material) CopyFloats<4>(material->specular, rgba);
}
void msMaterial_GetSpecular(msMaterial* material, float* rgba) {
    CopyFloats<4>(rgba, MaterialOrZeros(material).specular);
}
void msMaterial_SetEmissive(msMaterial* material, float* rgba) {
    if (material) CopyFloats<4>(material->emissive, rgba);
}
void msMaterial_GetEmissive(msMaterial* material, float* rgba) {
    CopyFloats<4>(rgba, MaterialOrZeros(material).emissive);
}

void msMaterial_SetShininess(msMaterial* material, float shininess) {
    if (material) material->shininess = shininess;
}
float msMaterial_GetShininess(msMaterial* material) { return MaterialOrZeros(material).shininess; }
void msMaterial_SetTransparency(msMaterial* material, float transparency) {
    if (material) material->transparency = transparency;
}
float msMaterial_GetTransparency(msMaterial* material) { return MaterialOrZeros(material).transparency; }

void msMaterial_SetDiffuseTexture(msMaterial* material, const char* path) {
    if (material) model_items::SetText(material->diffuseTexture, path, kMaxTexturePathLength);
}
void msMaterial_GetDiffuseTexture(msMaterial* material, char* path, int max) {
    CopyText(MaterialOrZeros(material).diffuseTexture, path, max);
}

void msBone_SetName(msBone* bone, const char* name) {
    if (bone) model_items::SetText(bone->name, name, kMaxNameLength);
}
void msBone_GetName(msBone* bone, char* name, int max) { CopyText(BoneOrZeros(bone).name, name, max); }
void msBone_SetParentName(msBone* bone, const char* name) {
    if (bone) model_items::SetText(bone->parentName, name, kMaxNameLength);
}
void msBone_GetParentName(msBone* bone, char* name, int max) { CopyText(BoneOrZeros(bone).parentName, name, max); }
void msBone_SetPosition(msBone* bone, float* xyz) {
    if (bone) CopyFloats<3>(bone->position, xyz);
}
void msBone_GetPosition(msBone* bone, float* xyz) { CopyFloats<3>(xyz, BoneOrZeros(bone).position); }
void msBone_SetRotation(msBone* bone, float* xyz) {
    if (bone) CopyFloats<3>(bone->rotation, xyz);
}
void msBone_GetRotation(msBone* bone, float* xyz) { CopyFloats<3>(xyz, BoneOrZeros(bone).rotation); }

}  // extern "C"
