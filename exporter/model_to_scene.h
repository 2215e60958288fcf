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
#include "host/msLib.h"

// The texture key of a host texture name: a name starting with "." loses its
// first two characters (".\a.bmp" gives "a.bmp"; "." alone gives ""); any
// other name is its own key.
std::string TextureKey(const std::string& textureName);

// Fills `file` (header, blocks, footer) from `meshCount` meshes of `model`.
// On a fault in the model it returns false with the text the user is to see
// in `failure`; `file` then holds what was built so far, with places still
// empty, and refuses to be written.
bool GatherScene(msModel* model, int meshCount, CNIF4_File& file, std::string* failure);
