// PNG files of the renderer's pictures, encoded by libpng.
#pragma once

#include <string>

#include "mshost/render/draw_model.h"

namespace mshost::render {

// The picture as the bytes of an 8-bit RGB PNG file. False with a one-line
// reason when libpng could not encode it.
bool EncodePng(const Picture& picture, std::string* bytes, std::string* error);

}  // namespace mshost::render
