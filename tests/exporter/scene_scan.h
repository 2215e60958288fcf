// Reads back an exported file's block list for the export-run tests: each
// block's type, where it starts, its size (from the layout's size rules)
// and the links and names the run computed. Independent of the writer's
// code, so the tests check the bytes rather than restate the writer.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/exporter/byte_helpers.h"

namespace scan {

struct Block {
    std::string type;
    size_t offset = 0;
    size_t size = 0;
    std::string name;                 // node, shape, material: the object name
    std::vector<int32_t> properties;  // node, shape
    std::vector<int32_t> children;    // node
    int32_t dataLink = -2;            // shape
    int32_t sourceLink = -2;          // texturing property
    std::string fileName;             // source texture
    uint16_t vertexCount = 0;         // geometry data
    uint16_t triangleCount = 0;       // geometry data
};

struct Scene {
    uint32_t declaredCount = 0;
    std::vector<Block> blocks;
    bool complete = false;  // every byte accounted for, footer 1, 0
};

inline std::string TextAt(const bytes::Bytes& data, size_t offset, size_t size) {
    const bytes::Bytes slice = bytes::Slice(data, offset, size);
    return std::string(slice.begin(), slice.end());
}

inline std::vector<int32_t> LinksAt(const bytes::Bytes& data, size_t& offset) {
    std::vector<int32_t> links;
    const int32_t count = bytes::I32At(data, offset);
    offset += 4;
    for (int32_t i = 0; i < count && offset + 4 <= data.size(); ++i, offset += 4) {
        links.push_back(bytes::I32At(data, offset));
    }
    return links;
}

inline Scene Scan(const bytes::Bytes& data) {
    Scene scene;
    if (data.size() < 56 || TextAt(data, 0, 40) != "NetImmerse File Format, Version 4.0.0.2\n") return scene;
    if (bytes::U32At(data, 40) != 0x04000002) return scene;
    scene.declaredCount = bytes::U32At(data, 44);
    size_t at = 48;
    for (uint32_t i = 0; i < scene.declaredCount && at + 4 <= data.size(); ++i) {
        Block block;
        block.offset = at;
        const uint32_t typeLength = bytes::U32At(data, at);
        block.type = TextAt(data, at + 4, typeLength);
        size_t p = at + 4 + typeLength;
        if (block.type == "NiNode" || block.type == "NiTriShape" || block.type == "NiMaterialProperty") {
            const uint32_t nameLength = bytes::U32At(data, p);
            block.name = TextAt(data, p + 4, nameLength);
            p += 4 + nameLength + 8;
        }
        if (block.type == "NiNode") {
            p += 66;
            block.properties = LinksAt(data, p);
            p += 4;
            block.children = LinksAt(data, p);
            LinksAt(data, p);  // effects
            block.size = 104 + block.name.size() + 4 * (block.properties.size() + block.children.size());
        } else if (block.type == "NiTriShape") {
            p += 66;
            block.properties = LinksAt(data, p);
            block.dataLink = bytes::I32At(data, p + 4);
            block.size = 108 + block.name.size() + 4 * block.properties.size();
        } else if (block.type == "NiTriShapeData") {
            block.vertexCount = bytes::U16At(data, p);
            const size_t afterGeometry = p + 2 + 4 + 24 * size_t{block.vertexCount} + 4 + 16 + 4;
            const uint16_t sets = bytes::U16At(data, afterGeometry);
            const size_t texCoords = sets == 1 ? 4 + 8 * size_t{block.vertexCount} : 4;
            block.triangleCount = bytes::U16At(data, afterGeometry + 2 + texCoords);
            block.size = 58 + 24 * size_t{block.vertexCount} + 6 * size_t{block.triangleCount} + texCoords;
        } else if (block.type == "NiTexturingProperty") {
            block.sourceLink = bytes::I32At(data, at + 49);
            block.size = 95;
        } else if (block.type == "NiSourceTexture") {
            const uint32_t nameLength = bytes::U32At(data, at + 32);
            block.fileName = TextAt(data, at + 36, nameLength);
            block.size = 49 + nameLength;
        } else if (block.type == "NiMaterialProperty") {
            block.size = 92 + block.name.size();
        } else if (block.type == "NiZBufferProperty") {
            block.size = 35;
        } else if (block.type == "NiVertexColorProperty") {
            block.size = 47;
        } else {
            ADD_FAILURE() << "unexpected block type " << block.type;
            return scene;
        }
        at += block.size;
        scene.blocks.push_back(block);
    }
    scene.complete = scene.blocks.size() == scene.declaredCount && at + 8 == data.size() &&
                     bytes::U32At(data, at) == 1 && bytes::U32At(data, at + 4) == 0;
    return scene;
}

inline std::vector<std::string> Types(const Scene& scene) {
    std::vector<std::string> types;
    for (const Block& block : scene.blocks) types.push_back(block.type);
    return types;
}

}  // namespace scan
