#include "nif_builder/nif_builder.h"

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

NifBuilder& NifBuilder::Long(int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<unsigned char>(bits >> shift));
    return *this;
}

NifBuilder& NifBuilder::Short(int value) {
    bytes_.push_back(static_cast<unsigned char>(value & 0xFF));
    bytes_.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
    return *this;
}

NifBuilder& NifBuilder::Byte(int value) {
    bytes_.push_back(static_cast<unsigned char>(value & 0xFF));
    return *this;
}

NifBuilder& NifBuilder::Float(float value) {
    int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Long(bits);
}

NifBuilder& NifBuilder::Floats(std::initializer_list<float> values) {
    for (float value : values) Float(value);
    return *this;
}

NifBuilder& NifBuilder::RepeatFloat(float value, int count) {
    for (int i = 0; i < count; ++i) Float(value);
    return *this;
}

NifBuilder& NifBuilder::Raw(std::string_view bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

NifBuilder& NifBuilder::String(std::string_view text) {
    Long(static_cast<int32_t>(text.size()));
    return Raw(text);
}

NifBuilder& NifBuilder::Vector(float x, float y, float z) { return Floats({x, y, z}); }

NifBuilder& NifBuilder::IdentityMatrix33() { return Floats({1, 0, 0, 0, 1, 0, 0, 0, 1}); }

NifBuilder& NifBuilder::LinkList(const std::vector<int32_t>& indices) {
    Long(static_cast<int32_t>(indices.size()));
    for (int32_t index : indices) Long(index);
    return *this;
}

NifBuilder& NifBuilder::HeaderLine(std::string_view line) {
    Raw(line);
    return Byte('\n');
}

NifBuilder& NifBuilder::FileStart(int32_t blockCount) { return HeaderLine().Long(kVersion).Long(blockCount); }

NifBuilder& NifBuilder::TypeName(std::string_view name) { return String(name); }

NifBuilder& NifBuilder::Footer(const std::vector<int32_t>& roots) { return LinkList(roots); }

ObjectPlacement PlacedAt(Point translation, int flags) {
    ObjectPlacement placement;
    placement.translation = translation;
    placement.flags = flags;
    return placement;
}

NifBuilder& ObjectHead(NifBuilder& b, std::string_view name, const std::vector<int32_t>& properties, int32_t extraData,
                       int32_t controller, const ObjectPlacement& placement) {
    const Point& t = placement.translation;
    b.String(name).Long(extraData).Long(controller).Short(placement.flags).Vector(t.x, t.y, t.z);
    for (float value : placement.rotation) b.Float(value);
    return b.Float(placement.scale).Vector(0, 0, 0).LinkList(properties);
}

NifBuilder& NodeBlock(NifBuilder& b, std::string_view name, const std::vector<int32_t>& children,
                      const std::vector<int32_t>& properties, int32_t extraData, int32_t controller,
                      const std::vector<int32_t>& effects, const ObjectPlacement& placement) {
    b.TypeName("NiNode");
    ObjectHead(b, name, properties, extraData, controller, placement);
    return b.Long(0).LinkList(children).LinkList(effects);
}

NifBuilder& OtherNodeBlock(NifBuilder& b, std::string_view typeName, std::string_view name,
                           const std::vector<int32_t>& children, const ObjectPlacement& placement) {
    b.TypeName(typeName);
    ObjectHead(b, name, {}, -1, -1, placement);
    return b.Long(0).LinkList(children).LinkList({});
}

NifBuilder& TriShapeBlock(NifBuilder& b, std::string_view name, int32_t data, int32_t skin,
                          const std::vector<int32_t>& properties, int32_t extraData, int32_t controller,
                          const ObjectPlacement& placement) {
    b.TypeName("NiTriShape");
    ObjectHead(b, name, properties, extraData, controller, placement);
    return b.Long(0).Long(data).Long(skin);
}

Geometry TriangleGeometry(Point a, Point b, Point c) {
    Geometry geometry;
    geometry.vertices = {a, b, c};
    geometry.triangles = {0, 1, 2};
    return geometry;
}

NifBuilder& TriShapeDataBlock(NifBuilder& b, const Geometry& g) {
    b.TypeName("NiTriShapeData");
    const int count = g.declaredVertexCount >= 0 ? g.declaredVertexCount : static_cast<int>(g.vertices.size());
    b.Short(count).Long(g.storeVertices ? 1 : 0);
    if (g.storeVertices) {
        for (const Point& p : g.vertices) b.Vector(p.x, p.y, p.z);
    }
    b.Long(0);                      // no normals
    b.Vector(0, 0, 0).Float(g.radius);
    b.Long(0);                      // no vertex colours
    const int hasUV = g.hasUVFlag >= 0 ? g.hasUVFlag : (g.uvSets.empty() ? 0 : 1);
    b.Short(static_cast<int>(g.uvSets.size())).Long(hasUV);
    if (hasUV != 0) {
        for (const std::vector<UV>& set : g.uvSets)
            for (const UV& uv : set) b.Float(uv.u).Float(uv.v);
    }
    const int triangleCount = static_cast<int>(g.triangles.size() / 3);
    b.Short(triangleCount).Long(3 * triangleCount);
    for (int index : g.triangles) b.Short(index);
    return b.Short(0);  // no match groups
}

NifBuilder& SmallTriShapeDataBlock(NifBuilder& b) {
    Geometry geometry = TriangleGeometry({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    geometry.uvSets = {{{0, 0}, {1, 0}, {0, 1}}};
    return TriShapeDataBlock(b, geometry);
}

NifBuilder& SourceTextureBlock(NifBuilder& b, std::string_view fileName, int32_t pixelLayout, int32_t useMipmaps,
                               int32_t alphaFormat) {
    b.TypeName("NiSourceTexture").String("").Long(-1).Long(-1);
    b.Byte(1).String(fileName);  // an external file
    return b.Long(pixelLayout).Long(useMipmaps).Long(alphaFormat).Byte(1);
}

NifBuilder& TextureSlotBytes(NifBuilder& b, int32_t source) {
    return b.Long(source).Long(3).Long(2).Long(0).Short(0).Short(0).Short(0);
}

NifBuilder& TexturingPropertyBlock(NifBuilder& b, int32_t baseSource, int32_t controller) {
    b.TypeName("NiTexturingProperty").Long(0).Long(-1).Long(controller).Short(0).Long(2).Long(7);
    if (baseSource == kNoSlot) {
        b.Long(0);
    } else {
        b.Long(1);
        TextureSlotBytes(b, baseSource);
    }
    for (int slot = 1; slot < 6; ++slot) b.Long(0);
    return b.Long(0);  // no decal
}

NifBuilder& MaterialPropertyBlock(NifBuilder& b, std::string_view name, int32_t controller, int flags,
                                  const MaterialValues& m) {
    b.TypeName("NiMaterialProperty").String(name).Long(-1).Long(controller).Short(flags);
    for (const std::array<float, 3>& colour : {m.ambient, m.diffuse, m.specular, m.emissive})
        b.Floats({colour[0], colour[1], colour[2]});
    return b.Float(m.glossiness).Float(m.alpha);
}

NifBuilder& ZBufferPropertyBlock(NifBuilder& b) { return b.TypeName("NiZBufferProperty").String("").Long(-1).Long(-1).Short(3); }

NifBuilder& ControllerHead(NifBuilder& b, std::string_view typeName, int32_t next, int32_t target) {
    return b.TypeName(typeName).Long(next).Short(8).Floats({1, 0, 0, 2}).Long(target);
}

NifBuilder& KeyframeControllerBlock(NifBuilder& b, int32_t next, int32_t target, int32_t data) {
    return ControllerHead(b, "NiKeyframeController", next, target).Long(data);
}

NifBuilder& StringExtraDataBlock(NifBuilder& b, int32_t next, std::string_view text, int32_t storedLength) {
    return b.TypeName("NiStringExtraData").Long(next).Long(storedLength).String(text);
}

NifBuilder& SkinInstanceBlock(NifBuilder& b, int32_t data, int32_t skeletonRoot, const std::vector<int32_t>& bones) {
    return b.TypeName("NiSkinInstance").Long(data).Long(skeletonRoot).LinkList(bones);
}

NifBuilder& SkinDataBlock(NifBuilder& b, const std::vector<BoneRecord>& bones, int32_t partition) {
    b.TypeName("NiSkinData").Float(1.0f).Vector(0, 0, 0).IdentityMatrix33();
    b.Long(static_cast<int32_t>(bones.size())).Long(partition);
    for (const BoneRecord& bone : bones) {
        for (float value : bone.rotation) b.Float(value);
        b.Vector(bone.translation.x, bone.translation.y, bone.translation.z).Float(bone.scale);
        b.Vector(bone.sphereCentre.x, bone.sphereCentre.y, bone.sphereCentre.z).Float(bone.sphereRadius);
        b.Short(static_cast<int>(bone.weights.size()));
        for (const auto& [vertex, weight] : bone.weights) b.Short(vertex).Float(weight);
    }
    return b;
}

namespace {

std::string FreshTemporaryPath() {
    static std::atomic<unsigned> counter{0};
    static const unsigned long long session = std::random_device{}();
    const auto name = "nif_builder_" + std::to_string(session) + "_" + std::to_string(counter++) + ".nif";
    return (std::filesystem::temp_directory_path() / name).string();
}

}  // namespace

TempNifFile::TempNifFile(const NifBuilder& builder) : TempNifFile(builder.Bytes()) {}

TempNifFile::TempNifFile(const std::vector<unsigned char>& bytes) : path_(FreshTemporaryPath()) {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write temporary file " + path_);
}

TempNifFile::~TempNifFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}
