// Gathers the host's model into the exporter's fixed scene:
//
//   0 "Scene Root" node (properties 1, 2; one child per mesh)
//   1 z-buffer property, 2 vertex colour property
//   then per mesh, from the host's last mesh to its first, starting at n:
//   n node, n+1 shape "Editable Mesh", n+2 texturing property,
//   n+3 source texture (only for a texture key not seen before),
//   then the material property and the geometry data.
//
// Meshes with the same texture key share one source texture block.
#pragma once

#include <string>

#include "exporter/nif4/nif4_file.h"
#include "exporter/texture_key.h"
#include "host/msLib.h"

// Fills `file` (header, blocks, footer) from `meshCount` meshes of `model`,
// each texture written under its key by `naming`.
// On a fault in the model it returns false with the text the user is to see
// in `failure`; `file` then holds what was built so far, with places still
// empty, and refuses to be written.
bool GatherScene(msModel* model, int meshCount, TextureNaming naming, CNIF4_File& file, std::string* failure);
