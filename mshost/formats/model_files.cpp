// The table of model file formats: one line per format.
#include "mshost/formats/model_files.h"

#include "mshost/files/file_extension.h"
#include "mshost/files/quoted_name.h"
#include "mshost/formats/model_json.h"
#include "mshost/formats/ms3d_format.h"

namespace mshost {
namespace {

using LoadFunction = bool (*)(const char* path, msModel* model, std::string* error);
using SaveFunction = bool (*)(const char* path, msModel* model, std::string* error);

struct ModelFormat {
    const char* extension;  // lower case, with the dot
    LoadFunction load;
    SaveFunction save;
};

constexpr ModelFormat kModelFormats[] = {
    {".json", LoadJsonModel, SaveJsonModel},
    {".ms3d", LoadMs3dModel, SaveMs3dModel},
};

const ModelFormat* FormatFor(const char* path, std::string* error) {
    for (const ModelFormat& format : kModelFormats) {
        if (HasExtension(path, format.extension)) return &format;
    }
    *error = Quoted(path) + ": unknown model format (known: " + KnownModelExtensions() + ")";
    return nullptr;
}

}  // namespace

std::string KnownModelExtensions() {
    std::string known;
    for (const ModelFormat& format : kModelFormats) known += std::string(known.empty() ? "" : ", ") + format.extension;
    return known;
}

bool IsKnownModelFile(const char* path, std::string* error) { return FormatFor(path, error) != nullptr; }

bool LoadModelFile(const char* path, msModel* model, std::string* error) {
    const ModelFormat* format = FormatFor(path, error);
    return format && format->load(path, model, error);
}

bool SaveModelFile(const char* path, msModel* model, std::string* error) {
    const ModelFormat* format = FormatFor(path, error);
    return format && format->save(path, model, error);
}

}  // namespace mshost
