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
#include "platform/platform.h"

namespace {

// Host names are copied into 256-character buffers, at most 255 characters,
// and terminated here: the model library adds no terminator when it cuts.
constexpr int kNameCharacters = 255;
using NameBuffer = char[kNameCharacters + 1];

constexpr char kShapeName[] = "Editable Mesh";
constexpr char kRootName[] = "Scene Root";

void ShowError(const std::string& text) { platform::ShowMessageBox(text.c_str(), nullptr); }

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

// The per-run state: which texture keys already have a source texture
// block, and which nodes hang under the root.
class SceneGatherer {
public:
    SceneGatherer(msModel* model, CNIF4_File& file) : m_model(model), m_file(file) {}

    bool GatherMesh(int meshIndex);
    void AddRoot();

private:
    msModel* m_model;
    CNIF4_File& m_file;
    int32_t m_nextBlock = 3;
    std::vector<std::string> m_textureKeys;   // one per key with a source texture block
    std::vector<int32_t> m_textureBlocks;     // parallel: that block's index
    std::vector<int32_t> m_rootChildren;
};

bool SceneGatherer::GatherMesh(int meshIndex) {
    msMesh* mesh = msModel_GetMeshAt(m_model, meshIndex);
    const int materialIndex = msMesh_GetMaterialIndex(mesh);
    // An index that names no material is treated like "no material": the
    // host's library would hand back no handle to read from.
    msMaterial* material = materialIndex == -1 ? nullptr : msModel_GetMaterialAt(m_model, materialIndex);
    if (!material) {
        ShowError(export_messages::kMaterialHasNoTexture);
        return false;
    }

    NameBuffer textureName = {};
    msMaterial_GetDiffuseTexture(material, textureName, kNameCharacters);
    textureName[kNameCharacters] = '\0';
    const size_t textureNameLength = std::strlen(textureName);
    if (textureNameLength == 0) {
        ShowError(export_messages::kNoTexture);
        return false;
    }
    if (textureNameLength >= kNameCharacters) {
        ShowError(export_messages::kInvalidTextureName);
        return false;
    }

    // Source texture: shared by every mesh with the same key (exact bytes, case matters).
    const std::string key = TextureKey(textureName);
    const int32_t n = m_nextBlock;
    int32_t sourceBlock = n + 3;
    bool isNew = true;
    for (size_t k = 0; k < m_textureKeys.size(); ++k) {
        if (m_textureKeys[k] == key) {
            sourceBlock = m_textureBlocks[k];
            isNew = false;
            break;
        }
    }
    const int32_t added = isNew ? 1 : 0;

    NameBuffer meshName = {};
    msMesh_GetName(mesh, meshName, kNameCharacters);
    meshName[kNameCharacters] = '\0';
    m_file.AddBlock(std::make_unique<CNIF4_Node>(Length(meshName), meshName, 0, nullptr, 1, LinkArray({n + 1}), 0,
                                                 nullptr));
    m_rootChildren.push_back(n);

    m_file.AddBlock(std::make_unique<CNIF4_TriShape>(Length(kShapeName), kShapeName, 2,
                                                     LinkArray({n + 2, n + 3 + added}), n + 4 + added));
    m_file.AddBlock(std::make_unique<CNIF4_TexturingProperty>(sourceBlock));
    if (isNew) {
        m_file.AddBlock(std::make_unique<CNIF4_SourceTexture>(static_cast<int32_t>(key.size()), key.c_str()));
        m_textureKeys.push_back(key);
        m_textureBlocks.push_back(sourceBlock);
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
    m_file.AddBlock(std::make_unique<CNIF4_MaterialProperty>(Length(materialName), materialName, diffuse, ambient,
                                                             specular, emissive, shininess, transparency));

    // The file counts vertices and triangles in 16 bits: a larger mesh
    // cannot be written and is refused rather than cut.
    if (msMesh_GetVertexCount(mesh) > 65535 || msMesh_GetTriangleCount(mesh) > 65535) {
        ShowError(export_messages::MeshTooLarge(meshName));
        return false;
    }
    MeshGeometry geometry = ConvertMeshGeometry(mesh);
    const auto vertexCount = static_cast<uint16_t>(geometry.vertexCount > 0 ? geometry.vertexCount : 0);
    const auto triangleCount = static_cast<uint16_t>(geometry.triangleCount > 0 ? geometry.triangleCount : 0);
    m_file.AddBlock(std::make_unique<CNIF4_TriShapeData>(
        vertexCount, std::move(geometry.vertices), std::move(geometry.normals), geometry.centre, geometry.radius,
        vertexCount, std::move(geometry.texCoords), triangleCount, std::move(geometry.triangles)));

    m_nextBlock = n + 5 + added;
    return true;
}

void SceneGatherer::AddRoot() {
    m_file.AddBlockFirst(std::make_unique<CNIF4_Node>(Length(kRootName), kRootName, 2, LinkArray({1, 2}),
                                                      static_cast<int32_t>(m_rootChildren.size()),
                                                      LinkArray(m_rootChildren), 0, nullptr));
}

}  // namespace

std::string TextureKey(const std::string& textureName) {
    if (textureName.empty() || textureName[0] != '.') return textureName;
    return textureName.size() >= 2 ? textureName.substr(2) : std::string();
}

bool GatherScene(msModel* model, int meshCount, CNIF4_File& file) {
    file.SetHeader(std::make_unique<CNIF4_Header>());
    try {
        file.AddBlock(std::make_unique<CNIF4_ZBufferProperty>());
        file.AddBlock(std::make_unique<CNIF4_VertexColorProperty>());
        SceneGatherer gatherer(model, file);
        for (int m = meshCount - 1; m >= 0; --m) {
            if (!gatherer.GatherMesh(m)) return false;
        }
        gatherer.AddRoot();
    } catch (const EInvalidParam& error) {
        ShowError(error.Text());
        return false;
    }
    file.SetFooter(std::make_unique<CNIF4_Footer>());
    return true;
}
