// One NiTriShape into one host mesh (and its material).
#pragma once

#include "host/msLib.h"

class NifBlock;

// Adds a mesh named after the shape; when the shape has a texturing property,
// a material too (colours from its material property, texture path from
// `textureDirectory` and the base texture's file name), whose index the mesh
// gets; then the vertices with set 0 of the texture coordinates, as stored,
// and the triangles whose three vertices the mesh received.
void ImportShape(msModel* model, NifBlock* shape, const char* textureDirectory);
