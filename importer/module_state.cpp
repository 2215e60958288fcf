#include "importer/module_state.h"

char ImportFileName[kImportPathBufferSize];
char TextureDirectory[kImportPathBufferSize];
bool ApplySceneTransforms;
