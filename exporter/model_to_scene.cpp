#include "exporter/model_to_scene.h"

#include <cstring>
#include <memory>
#include <vector>

#include "exporter/export_messages.h"
#include "exporter/mesh_geometry.h"
#include "exporter/nif4/invalid_param.h"
#include "exporter/nif4/node_blocks.h"
#include "exporter/nif4/property_blocks.h"
#include "exporter/nif4/trishape_data_block.h"

namespace {

// Host names are copied into 256-character buffers, at most 255 characters,
// and terminated here: the model library adds no terminator when it cuts.
constexpr int kNameCharacters = 255;
using NameBuffer = char[kNameCharacters + 1];

constexpr char kShapeName[] = "Editable Mesh";
constexpr char kRootName[] = "Scene Root";

Nif4LinkArray LinkArray(const std::vector<int32_t>& links) {
    Nif4LinkArray array(new int32_t[links.size()]);
    for (size_t i = 0; i < links.size(); ++i) array[i] = links[i];
    return array;
}

Nif4Colour ColourOf(void (*get)(msMaterial*, float*), msMaterial* material) {
    float rgba[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    get(material, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

int32_t Length(const char* text) { return static_cast<int32_t>(std::strlen(text)); }

// The per-run state: the root's place, which texture keys already have a
// source texture block, and which nodes hang under the root. Every block
// gets its index from the file before anything links to it, so links are
// the indices handed out, never predicted.
class SceneGatherer {
public:
    SceneGatherer(msModel* model, TextureNaming naming, CNIF4_File& file)
        : model_(model), naming_(naming), file_(file) {}

    // The root node comes first in the file but is built last, once its
    // children are known; the two scene-wide properties follow it.
    void Begin();
    // False on a fault in the model, with its message in `failure`.
    bool GatherMesh(int meshIndex, std::string* failure);
    void AddRoot();

private:
    msModel* model_;
    TextureNaming naming_;
    CNIF4_File& file_;
    int32_t root_ = -1;
    int32_t zBuffer_ = -1;
    int32_t vertexColour_ = -1;
    std::vector<std::string> textureKeys_;  // one per key with a source texture block
    std::vector<int32_t> textureBlocks_;    // parallel: that block's index
    std::vector<int32_t> rootChildren_;
};

void SceneGatherer::Begin() {
    root_ = file_.ReserveBlock();
    zBuffer_ = file_.AddBlock(std::make_unique<CNIF4_ZBufferProperty>());
    vertexColour_ = file_.AddBlock(std::make_unique<CNIF4_VertexColorProperty>());
}

bool SceneGatherer::GatherMesh(int meshIndex, std::string* failure) {
    msMesh* mesh = msModel_GetMeshAt(model_, meshIndex);
    const int materialIndex = msMesh_GetMaterialIndex(mesh);
    // An index that names no material is treated like "no material": the
    // host's library would hand back no handle to read from.
    msMaterial* material = materialIndex == -1 ? nullptr : msModel_GetMaterialAt(model_, materialIndex);
    if (!material) {
        *failure = export_messages::kMaterialHasNoTexture;
        return false;
    }

    NameBuffer textureName = {};
    msMaterial_GetDiffuseTexture(material, textureName, kNameCharacters);
    textureName[kNameCharacters] = '\0';
    const size_t textureNameLength = std::strlen(textureName);
    if (textureNameLength == 0) {
        *failure = export_messages::kNoTexture;
        return false;
    }
    if (textureNameLength >= kNameCharacters) {
        *failure = export_messages::kInvalidTextureName;
        return false;
    }

    // Source texture: shared by every mesh with the same key (exact bytes, case matters).
    const std::string key = TextureKey(textureName, naming_);
    if (naming_ == TextureNaming::kFileNameOnly && KeyNamesNoFile(key)) {
        *failure = export_messages::kNoTexture;
        return false;
    }
    int32_t sharedSource = -1;
    for (size_t k = 0; k < textureKeys_.size(); ++k) {
        if (textureKeys_[k] == key) {
            sharedSource = textureBlocks_[k];
            break;
        }
    }
    const bool isNew = sharedSource == -1;

    // The mesh's blocks in file order: node, shape, texturing property,
    // source texture (for a new key only), material property, geometry.
    const int32_t node = file_.ReserveBlock();
    const int32_t shape = file_.ReserveBlock();
    const int32_t texturing = file_.ReserveBlock();
    const int32_t source = isNew ? file_.ReserveBlock() : sharedSource;
    const int32_t materialProperty = file_.ReserveBlock();
    const int32_t data = file_.ReserveBlock();

    NameBuffer meshName = {};
    msMesh_GetName(mesh, meshName, kNameCharacters);
    meshName[kNameCharacters] = '\0';
    file_.PlaceBlock(node, std::make_unique<CNIF4_Node>(Length(meshName), meshName, 0, nullptr, 1,
                                                         LinkArray({shape}), 0, nullptr));
    rootChildren_.push_back(node);

    file_.PlaceBlock(shape, std::make_unique<CNIF4_TriShape>(nif4::LengthOf(kShapeName), kShapeName, 2,
                                                              LinkArray({texturing, materialProperty}), data));
    file_.PlaceBlock(texturing, std::make_unique<CNIF4_TexturingProperty>(source));
    if (isNew) {
        file_.PlaceBlock(source, std::make_unique<CNIF4_SourceTexture>(static_cast<int32_t>(key.size()), key.c_str()));
        textureKeys_.push_back(key);
        textureBlocks_.push_back(source);
    }

    NameBuffer materialName = {};
    msMaterial_GetName(material, materialName, kNameCharacters);
    materialName[kNameCharacters] = '\0';
    const Nif4Colour diffuse = ColourOf(&msMaterial_GetDiffuse, material);
    const Nif4Colour ambient = ColourOf(&msMaterial_GetAmbient, material);
    const Nif4Colour specular = ColourOf(&msMaterial_GetSpecular, material);
    const Nif4Colour emissive = ColourOf(&msMaterial_GetEmissive, material);
    const float shininess = msMaterial_GetShininess(material);
    const float transparency = msMaterial_GetTransparency(material);
    file_.PlaceBlock(materialProperty,
                     std::make_unique<CNIF4_MaterialProperty>(Length(materialName), materialName, diffuse, ambient,
                                                              specular, emissive, shininess, transparency));

    // The file counts vertices and triangles in 16 bits: a larger mesh
    // cannot be written and is refused rather than cut.
    if (msMesh_GetVertexCount(mesh) > 65535 || msMesh_GetTriangleCount(mesh) > 65535) {
        *failure = export_messages::MeshTooLarge(meshName);
        return false;
    }
    MeshGeometry geometry = ConvertMeshGeometry(mesh);
    const auto vertexCount = static_cast<uint16_t>(geometry.vertexCount > 0 ? geometry.vertexCount : 0);
    const auto triangleCount = static_cast<uint16_t>(geometry.triangleCount > 0 ? geometry.triangleCount : 0);
    file_.PlaceBlock(data, std::make_unique<CNIF4_TriShapeData>(vertexCount, std::move(geometry.vertices),
                                                                 std::move(geometry.normals), geometry.centre,
                                                                 geometry.radius, vertexCount,
                                                                 std::move(geometry.texCoords), triangleCount,
                                                                 std::move(geometry.triangles)));
    return true;
}

void SceneGatherer::AddRoot() {
    file_.PlaceBlock(root_, std::make_unique<CNIF4_Node>(nif4::LengthOf(kRootName), kRootName, 2,
                                                          LinkArray({zBuffer_, vertexColour_}),
                                                          static_cast<int32_t>(rootChildren_.size()),
                                                          LinkArray(rootChildren_), 0, nullptr));
}

}  // namespace

bool GatherScene(msModel* model, int meshCount, TextureNaming naming, CNIF4_File& file, std::string* failure) {
    file.SetHeader(std::make_unique<CNIF4_Header>());
    try {
        SceneGatherer gatherer(model, naming, file);
        gatherer.Begin();
        for (int m = meshCount - 1; m >= 0; --m) {
            if (!gatherer.GatherMesh(m, failure)) return false;
        }
        gatherer.AddRoot();
    } catch (const EInvalidParam& error) {
        *failure = error.Text();
        return false;
    }
    file.SetFooter(std::make_unique<CNIF4_Footer>());
    return true;
}
