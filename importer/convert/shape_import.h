// One NiTriShape into one host mesh (and its material).
#pragma once

#include "host/msLib.h"

class NifBlock;
struct ScenePlacement;

// Adds a mesh named after the shape; when the shape has a texturing property,
// a material too (colours from its material property, texture path from
// `textureDirectory` and the base texture's file name), whose index the mesh
// gets; then the vertices with set 0 of the texture coordinates, as stored,
// and the triangles whose three vertices the mesh received.
// With a `placement` ("Apply scene transforms"), the positions go through it
// into the host's axes and a mirroring placement reverses each triangle;
// a placement that is not finite writes "Transform of shape '%s' is not
// finite; its vertices are not placed" and only turns the axes.
void ImportShape(msModel* model, NifBlock* shape, const char* textureDirectory,
                 const ScenePlacement* placement = nullptr);
