// libpng's simplified writing interface: it keeps its own error handling
// (no longjmp through our frames) and writes no time or other varying chunk,
// so the same picture gives the same bytes.
#include "mshost/render/png_file.h"

#include <png.h>

namespace mshost::render {

bool EncodePng(const Picture& picture, std::string* bytes, std::string* error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    const png_int_32 rowStride = picture.width * 3;
    // The first call measures, the second writes.
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, picture.rgb.data(), rowStride, nullptr)) {
        bytes->assign(size, '\0');
        if (png_image_write_to_memory(&image, bytes->data(), &size, 0, picture.rgb.data(), rowStride, nullptr)) {
            bytes->resize(size);
            return true;
        }
    }
    *error = std::string("cannot encode the picture: ") + image.message;
    png_image_free(&image);
    return false;
}

}  // namespace mshost::render
