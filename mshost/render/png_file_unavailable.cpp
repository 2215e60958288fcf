// The PNG writer of a build without libpng (the 32-bit test build, which
// builds mshost's library but runs only the reader's tests).
#include "mshost/render/png_file.h"

namespace mshost::render {

bool EncodePng(const Picture&, std::string*, std::string* error) {
    *error = "this build of mshost has no PNG writer (built without libpng)";
    return false;
}

}  // namespace mshost::render
