// Decodes a stand-in host model from arbitrary bytes, for the export fuzz
// target, and encodes models in the same layout for its seeds.
//
// Layout (every value little-endian; once the bytes run out every further
// value reads as 0 and every text as empty):
//   material count (byte % 5), each: name (text), ambient, diffuse, specular,
//     emissive (4 floats each), shininess, transparency (float each), texture (text)
//   mesh count (byte % 5), each: name (text), material index (signed byte),
//     vertex count (word % 1025), each vertex: x, y, z, u, v (floats);
//     normal count (word % 1025), each: x, y, z (floats);
//     triangle count (word % 1025), each: 3 vertex indices, 3 normal indices (words, any value)
//   bone count (byte % 5), each: name, parent name (texts), position, rotation (3 floats each)
// A text is a word length (% 600) and that many bytes; a zero byte ends it early.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/msLib.h"

namespace modelbytes {

inline constexpr int kMaxItems = 4;         // materials, meshes, bones
inline constexpr int kMaxListLength = 1024;  // vertices, normals, triangles per mesh
inline constexpr int kMaxTextLength = 599;

// Adds the decoded materials, meshes and bones to `model`.
void DecodeModel(const uint8_t* data, size_t size, msModel* model);

// Appends values in the layout above.
class Encoder {
public:
    Encoder& Byte(int value);
    Encoder& Word(int value);
    Encoder& Float(float value);
    Encoder& Text(const std::string& text);
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

}  // namespace modelbytes
