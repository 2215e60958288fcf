// One import: read a NIF file and add what it holds to the host's model.
#pragma once

#include <string>

#include "host/msLib.h"

class DebugPrinter;

// How an import run ended: what Execute returns, and when the run failed,
// the text of the error box that Execute shows.
struct ImportResult {
    int execute = 0;  // 0: a mesh was added, or the run failed; 1: no mesh was added
    bool failed = false;
    std::string message;
};

// Loads `fileName` completely (stream and NIF file object, created in that
// order and released in reverse order, also on failure) and converts its
// scene graph from the root into `model`, with texture paths in
// `textureDirectory`. Returns 0 when at least one mesh
// was added and 1 when none was (also for a file with no block at all).
// Throws TextException when the file cannot be read or parsed, or would add
// more than the host can take; that happens before the conversion starts, so
// the model is then unchanged. Boxes and debug lines go to `debugPrinter`.
// `applySceneTransforms` is the dialog's "Apply scene transforms" box: the
// load walks animation and particle nodes as nodes with children, and the
// scene is converted with ConvertPlacedScene instead of ConvertBlock.
int ImportNifFile(msModel* model, const char* fileName, const char* textureDirectory, DebugPrinter& debugPrinter,
                  bool applySceneTransforms = false);
// As above with a debug printer of its own, finished before it returns or throws.
int ImportNifFile(msModel* model, const char* fileName, const char* textureDirectory, bool applySceneTransforms = false);

// ImportNifFile as a result: never throws. A failure's message is the
// exception's text, or the out-of-memory or unexpected-failure text.
ImportResult RunImport(msModel* model, const char* fileName, const char* textureDirectory, DebugPrinter& debugPrinter,
                       bool applySceneTransforms = false);
