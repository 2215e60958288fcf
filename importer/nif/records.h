// Plain records that block layouts share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct NifVector {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

// Material colours are stored in the file as r, g, b; alpha is 1.0 in memory.
struct NifColour {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};

struct NifTexCoord {
    float u = 0.0f, v = 0.0f;
};

// A rotation record: nine floats, three rows of three, in file order; identity until read.
struct Matrix33 {
    float m[9] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
};

// A count and that many block indices; positions outside the list read as -1 (no block).
struct LinkList {
    std::vector<int32_t> indices;

    int Count() const { return static_cast<int>(indices.size()); }
    int32_t At(int position) const {
        return position >= 0 && position < Count() ? indices[static_cast<size_t>(position)] : -1;
    }
};
