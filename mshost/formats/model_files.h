// Model files of the stand-in host, the format chosen by the file's extension.
#pragma once

#include <string>

#include "host/msLib.h"

namespace mshost {

// Adds the model in `path` to `model` / writes `model` to `path`. An unknown
// extension or a bad file gives false and a one-line reason naming the file.
bool LoadModelFile(const char* path, msModel* model, std::string* error);
bool SaveModelFile(const char* path, msModel* model, std::string* error);

// True when `path` has the extension of a known format; else false and the
// same one-line reason as LoadModelFile / SaveModelFile give.
bool IsKnownModelFile(const char* path, std::string* error);

// The extensions of the known formats, e.g. ".json, .ms3d".
std::string KnownModelExtensions();

}  // namespace mshost
