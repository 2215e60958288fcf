// Plain records that block layouts share.
#pragma once

#include <cstddef>
#include <cstdint>

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

