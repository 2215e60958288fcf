// One import: read a NIF file and add what it holds to the host's model.
#pragma once

#include "host/msLib.h"

// Loads `fileName` completely (printer, stream and NIF file object, created
// in that order and released in reverse order, also on failure) and converts
// its scene graph from the root into `model`. Returns 0 when at least one mesh
// was added and 1 when none was (also for a file with no block at all).
// Throws TextException when the file cannot be read or parsed, or would add
// more than the host can take; that happens before the conversion starts, so
// the model is then unchanged.
int ImportNifFile(msModel* model, const char* fileName);

// Shows a failed import's text in the importer's error box.
void ShowImportError(const char* text);
