// A model drawn as the picture `render` writes.
#pragma once

#include <cstdint>
#include <vector>

#include "host/msLib.h"

namespace mshost::render {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel, rows from the top
};

// The model's triangles seen from the fixed three-quarter view, fitted to
// their bounds, each face shaded by its normal under a fixed light, over a
// plain background. The same model gives the same pixels.
Picture DrawModel(msModel* model, int width, int height);

}  // namespace mshost::render
