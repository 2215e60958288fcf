// A picture being drawn: RGB colour and a depth value per pixel, triangles
// filled with one colour each and hidden by what lies nearer.
#pragma once

#include <cstdint>
#include <vector>

#include "mshost/render/view.h"

namespace mshost::render {

struct Colour {
    uint8_t r, g, b;
};

class Raster {
public:
    // A picture of the given size, every pixel `background` and infinitely far.
    Raster(int width, int height, Colour background);

    // Fills the pixels whose centres lie inside the triangle (or on its edges)
    // where the triangle is nearer than what is there; depth is interpolated
    // linearly across the triangle.
    void FillTriangle(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c, Colour colour);

    // The picture at half the width and height, each pixel the rounded mean
    // of the four it covers (the drawing is made at twice the size so that
    // edges come out smooth).
    std::vector<uint8_t> HalvedRgb() const;

private:
    int width_;
    int height_;
    std::vector<uint8_t> rgb_;   // 3 bytes a pixel, rows from the top
    std::vector<float> depth_;
};

}  // namespace mshost::render
