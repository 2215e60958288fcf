// Plain records the writer blocks hold: vectors, colours, texture
// coordinates and triangles, laid out as the file stores them.
#pragma once

#include <cstdint>

struct Nif4Vector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// A material colour: the file keeps red, green and blue only.
struct Nif4Colour {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

struct Nif4TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

// Three vertex indices, in corner order.
struct Nif4Triangle {
    uint16_t corners[3] = {0, 0, 0};
};
