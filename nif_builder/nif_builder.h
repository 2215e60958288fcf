// NifBuilder: writes NIF bytes value by value, for the sample files, the
// benchmarks' inputs and the tests.
//
// Every number is appended little-endian, exactly as a NIF 4.0.0.2 file holds
// it. Calls chain:
//
//     NifBuilder nif;
//     nif.FileStart(1)                       // header line, version, block count 1
//        .TypeName("NiZBufferProperty")      // length-prefixed type name
//        .String("").Long(-1).Long(-1).Short(3)
//        .Footer();                          // root count 1, root index 0
//     TempNifFile file(nif);                 // on disk until `file` goes away
//     Qiv_Stream stream(&printer); stream.OpenFile(file.Path().c_str());
//
// Or load straight from memory: stream.OpenBytes(nif.Data(), nif.Size(), "test").
//
// The block writers after the class append one whole block each, type name
// included, with the values a test cares about as arguments and plain values
// for the rest; a test file is then a FileStart, a few blocks and a Footer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class NifBuilder {
public:
    // The header line of every NIF 4.0.0.2 file, without its line feed.
    static constexpr const char* kHeaderLine = "NetImmerse File Format, Version 4.0.0.2";
    static constexpr int32_t kVersion = 0x04000002;

    // Plain values, little-endian.
    NifBuilder& Long(int32_t value);
    NifBuilder& Short(int value);  // the low 16 bits: pass -1 or 0xFFFF alike
    NifBuilder& Byte(int value);   // the low 8 bits
    NifBuilder& Float(float value);
    NifBuilder& Floats(std::initializer_list<float> values);
    // `count` copies of `value` (a block of filler Floats).
    NifBuilder& RepeatFloat(float value, int count);
    // Raw bytes with no length prefix.
    NifBuilder& Raw(std::string_view bytes);
    // A Long length followed by the bytes (no terminator).
    NifBuilder& String(std::string_view text);

    // Records shared by many blocks.
    NifBuilder& Vector(float x, float y, float z);
    NifBuilder& IdentityMatrix33();                      // 9 Floats
    NifBuilder& LinkList(const std::vector<int32_t>& indices);  // count, then the indices

    // The envelope.
    NifBuilder& HeaderLine(std::string_view line = kHeaderLine);  // the line and a 0x0A byte
    NifBuilder& FileStart(int32_t blockCount);            // header line, version, block count
    NifBuilder& TypeName(std::string_view name);          // same as String
    NifBuilder& Footer(const std::vector<int32_t>& roots = {0});  // root count, then the roots

    const std::vector<unsigned char>& Bytes() const { return bytes_; }
    const unsigned char* Data() const { return bytes_.data(); }
    size_t Size() const { return bytes_.size(); }

private:
    std::vector<unsigned char> bytes_;
};

struct Point {
    float x = 0, y = 0, z = 0;
};
struct UV {
    float u = 0, v = 0;
};

// The object head's placement and flags.
struct ObjectPlacement {
    Point translation;
    std::array<float, 9> rotation = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float scale = 1.0f;
    int flags = 0;
};

// Identity rotation and scale 1 at `translation`.
ObjectPlacement PlacedAt(Point translation, int flags = 0);

// The object head of nodes and shapes: name, extra data, controller, flags,
// translation, rotation, scale, zero velocity, property list.
NifBuilder& ObjectHead(NifBuilder& b, std::string_view name, const std::vector<int32_t>& properties = {},
                       int32_t extraData = -1, int32_t controller = -1, const ObjectPlacement& placement = {});

NifBuilder& NodeBlock(NifBuilder& b, std::string_view name, const std::vector<int32_t>& children = {},
                      const std::vector<int32_t>& properties = {}, int32_t extraData = -1, int32_t controller = -1,
                      const std::vector<int32_t>& effects = {}, const ObjectPlacement& placement = {});

// NiBSAnimationNode, NiBSParticleNode or RootCollisionNode (no bounding box).
NifBuilder& OtherNodeBlock(NifBuilder& b, std::string_view typeName, std::string_view name,
                           const std::vector<int32_t>& children = {}, const ObjectPlacement& placement = {});

NifBuilder& TriShapeBlock(NifBuilder& b, std::string_view name, int32_t data, int32_t skin = -1,
                          const std::vector<int32_t>& properties = {}, int32_t extraData = -1, int32_t controller = -1,
                          const ObjectPlacement& placement = {});

// The geometry of an NiTriShapeData block, with no normals and no vertex colours.
struct Geometry {
    std::vector<Point> vertices;
    bool storeVertices = true;
    int declaredVertexCount = -1;         // -1: the number of vertices
    std::vector<std::vector<UV>> uvSets;  // each of vertices.size() entries
    int hasUVFlag = -1;                   // -1: 1 when uvSets is not empty, else 0
    std::vector<int> triangles;           // flat list, three per triangle
    float radius = 1.0f;                  // of the bounding sphere around the origin
};

// One triangle over three vertices, no texture coordinates.
Geometry TriangleGeometry(Point a, Point b, Point c);

NifBuilder& TriShapeDataBlock(NifBuilder& b, const Geometry& geometry);

// A triangle (0, 1, 2) over three vertices (0,0,0), (1,0,0), (0,1,0) with one UV set.
NifBuilder& SmallTriShapeDataBlock(NifBuilder& b);

// An external texture file; the three numbers are the pixel layout, the
// mipmap use and the alpha format.
NifBuilder& SourceTextureBlock(NifBuilder& b, std::string_view fileName, int32_t pixelLayout = 6, int32_t useMipmaps = 1,
                               int32_t alphaFormat = 2);

// One present texture slot: source, wrap both, trilinear filter, UV set 0.
NifBuilder& TextureSlotBytes(NifBuilder& b, int32_t source);

// A texturing property with only the base slot, naming `baseSource`; a
// `baseSource` of kNoSlot writes no base slot at all.
constexpr int32_t kNoSlot = -2;
NifBuilder& TexturingPropertyBlock(NifBuilder& b, int32_t baseSource, int32_t controller = -1);

struct MaterialValues {
    std::array<float, 3> ambient = {0.1f, 0.2f, 0.3f};
    std::array<float, 3> diffuse = {0.4f, 0.5f, 0.6f};
    std::array<float, 3> specular = {0.7f, 0.8f, 0.9f};
    std::array<float, 3> emissive = {0.0f, 0.5f, 1.0f};
    float glossiness = 10.0f;
    float alpha = 0.75f;
};

NifBuilder& MaterialPropertyBlock(NifBuilder& b, std::string_view name, int32_t controller = -1, int flags = 1,
                                  const MaterialValues& values = {});

NifBuilder& ZBufferPropertyBlock(NifBuilder& b);

// A controller record with the given links; `typeName` decides what follows.
NifBuilder& ControllerHead(NifBuilder& b, std::string_view typeName, int32_t next, int32_t target);

NifBuilder& KeyframeControllerBlock(NifBuilder& b, int32_t next, int32_t target, int32_t data);

NifBuilder& StringExtraDataBlock(NifBuilder& b, int32_t next, std::string_view text, int32_t storedLength);

NifBuilder& SkinInstanceBlock(NifBuilder& b, int32_t data, int32_t skeletonRoot, const std::vector<int32_t>& bones);

// One bone of a skin data block: its inverse bind transform, bounding sphere
// and vertex weights.
struct BoneRecord {
    std::array<float, 9> rotation = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    Point translation;
    float scale = 1.0f;
    Point sphereCentre;
    float sphereRadius = 1.0f;
    std::vector<std::pair<int, float>> weights;  // vertex index, weight
};

// Skin data with an identity transform of its own.
NifBuilder& SkinDataBlock(NifBuilder& b, const std::vector<BoneRecord>& bones, int32_t partition = -1);

// A temporary file holding a builder's bytes (or any bytes); removed when
// the object goes away. Each one gets a fresh name in the system's temporary folder.
class TempNifFile {
public:
    explicit TempNifFile(const NifBuilder& builder);
    explicit TempNifFile(const std::vector<unsigned char>& bytes);
    ~TempNifFile();
    TempNifFile(const TempNifFile&) = delete;
    TempNifFile& operator=(const TempNifFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
