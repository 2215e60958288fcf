// The host's own binary model format, .ms3d (version 4; version 3 reads the
// same way), for the stand-in host.
//
// Two layers: ms3d_file.cpp turns bytes into the plain records below and back
// (every read bounds-checked, nothing sized from a count the file only
// claims); ms3d_model.cpp maps the records to and from a host model through
// the model library's functions only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/msLib.h"

// Loads the .ms3d file at `path` into `model` (normally empty; materials the
// model already holds keep their indices and the file's come after them).
// Returns false with a one-line message naming the file in `error`; then the
// model is left exactly as it was.
bool LoadMs3dModel(const char* path, msModel* model, std::string* error);

// Writes `model` as a version 4 .ms3d file at `path`. The file is replaced
// only when everything was written; on failure (a model the format cannot
// hold, or an I/O error) returns false with a one-line message naming the
// file in `error` and leaves `path` untouched.
bool SaveMs3dModel(const char* path, msModel* model, std::string* error);

namespace ms3d {

// Byte sizes of the fixed records of the format.
inline constexpr size_t kHeaderSize = 14;
inline constexpr size_t kVertexSize = 15;
inline constexpr size_t kTriangleSize = 70;
inline constexpr size_t kGroupFixedSize = 36;  // plus 2 bytes per listed triangle
inline constexpr size_t kMaterialSize = 361;
inline constexpr size_t kAnimationSize = 12;
inline constexpr size_t kJointFixedSize = 93;  // plus 16 bytes per key
inline constexpr size_t kKeySize = 16;

// Widths of the zero-padded text fields. A text that fills its field has no terminator.
inline constexpr size_t kNameField = 32;
inline constexpr size_t kPathField = 128;

// The largest vertex, triangle, group, material or joint count a file can state.
inline constexpr size_t kMaxCount = 65535;

struct Vertex {
    uint8_t flags = 0;
    float position[3] = {0, 0, 0};
    int8_t boneId = -1;
    uint8_t referenceCount = 0;
};

struct Triangle {
    uint16_t flags = 0;
    uint16_t vertexIndices[3] = {0, 0, 0};
    float normals[3][3] = {};  // one per corner
    float s[3] = {0, 0, 0};     // per corner
    float t[3] = {0, 0, 0};     // per corner
    uint8_t smoothingGroup = 0;
    uint8_t groupIndex = 0;
};

struct Group {
    uint8_t flags = 0;
    std::string name;
    std::vector<uint16_t> triangleIndices;
    int8_t materialIndex = -1;  // -1: none
};

struct Material {
    std::string name;
    float ambient[4] = {0, 0, 0, 0};
    float diffuse[4] = {0, 0, 0, 0};
    float specular[4] = {0, 0, 0, 0};
    float emissive[4] = {0, 0, 0, 0};
    float shininess = 0;
    float transparency = 0;
    int8_t mode = 0;
    std::string texture;
    std::string alphaMap;
};

struct Keyframe {
    float time = 0;
    float value[3] = {0, 0, 0};
};

struct Joint {
    uint8_t flags = 0;
    std::string name;
    std::string parentName;
    float rotation[3] = {0, 0, 0};  // Euler angles, radians
    float position[3] = {0, 0, 0};
    std::vector<Keyframe> rotationKeys;
    std::vector<Keyframe> positionKeys;
};

// Everything of a file up to and including the joints; the optional trailing
// sections (comments, extras) are not kept.
struct File {
    int32_t version = 4;
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
    std::vector<Group> groups;
    std::vector<Material> materials;
    float fps = 24;
    float currentTime = 1;
    int32_t totalFrames = 30;
    std::vector<Joint> joints;
};

// The vertex and triangle records of a parsed file, left in the file's bytes
// (which must outlive these views) and decoded on demand: a loader reads
// each one once or twice, so decoding them all first would only double the
// memory it touches.
struct VertexRecords {
    const unsigned char* data = nullptr;  // `count` records of kVertexSize bytes
    size_t count = 0;

    size_t size() const { return count; }
    Vertex operator[](size_t index) const;
};

struct TriangleRecords {
    const unsigned char* data = nullptr;  // `count` records of kTriangleSize bytes
    size_t count = 0;

    size_t size() const { return count; }
    Triangle operator[](size_t index) const;
    // Parts of one corner without decoding the whole record: its file vertex
    // with the bit patterns of its s and t, and the bit patterns of its
    // normal. Inline: a loader calls them for every corner.
    std::array<uint32_t, 3> CornerBits(size_t index, int corner) const {
        const unsigned char* record = data + index * kTriangleSize;
        const size_t c = static_cast<size_t>(corner);
        return {U16At(record + 2 + 2 * c), U32At(record + 44 + 4 * c), U32At(record + 56 + 4 * c)};
    }
    std::array<uint32_t, 3> NormalBits(size_t index, int corner) const {
        const unsigned char* normal = data + index * kTriangleSize + 8 + 12 * static_cast<size_t>(corner);
        return {U32At(normal), U32At(normal + 4), U32At(normal + 8)};
    }

private:
    // A triangle record: flags (2 bytes), vertex indices (3 x 2) at 2,
    // normals (3 x 12) at 8, s (3 x 4) at 44, t (3 x 4) at 56, smoothing group, group.
    static uint32_t U16At(const unsigned char* bytes) { return static_cast<uint32_t>(bytes[0] | (bytes[1] << 8)); }
    static uint32_t U32At(const unsigned char* bytes) {
        return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
               (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    }
};

// Checks `size` bytes of an .ms3d file exactly as ParseFile does and decodes
// everything but the vertices and triangles, which `vertices` and
// `triangles` give from the bytes (`file->vertices` and `file->triangles`
// are left empty).
bool ScanFile(const void* data, size_t size, const char* name, File* file, VertexRecords* vertices,
              TriangleRecords* triangles, std::string* error);

// Parses `size` bytes of an .ms3d file. Checks every count against the bytes
// left and every index against what it names (triangle vertices, group
// triangles, group materials). Stops after the joints and ignores whatever
// follows. On failure returns false and sets `error` to
// "<name>: <what is wrong>" on one line.
bool ParseFile(const void* data, size_t size, const char* name, File* file, std::string* error);

// Serialises `file` as version `file.version`. Texts longer than their field
// are cut so that a terminator fits (31 name characters, 127 path
// characters). Fails ("<name>: ...") when a list is longer than the format
// can count.
bool WriteFile(const File& file, const char* name, std::string* bytes, std::string* error);

}  // namespace ms3d
