#include "exporter/export_messages.h"

namespace export_messages {
namespace {

// Puts `name` where the format has "%s". Names are inserted as they are, so
// a "%" inside a name is shown, never interpreted.
std::string WithName(const std::string& format, const std::string& name) {
    const size_t at = format.find("%s");
    if (at == std::string::npos) return format;
    return format.substr(0, at) + name + format.substr(at + 2);
}

}  // namespace

std::string UnableToWriteFile(const std::string& outputName) {
    return WithName("Unable to write file '%s'.", outputName);
}

std::string MeshTooLarge(const std::string& meshName) {
    return WithName("Mesh '%s' has more than 65535 vertices or triangles,\nexport aborted.", meshName);
}

}  // namespace export_messages
