// The walk that turns a loaded scene graph into the host's model.
#pragma once

#include "host/msLib.h"

class NifBlock;

// Converts `block` and everything below it through child links, depth first
// and pre-order: a shape (NiTriShape) becomes a host mesh, with a material
// when it has a texturing property; a node marked as a bone becomes a host
// bone; then the children follow in list order. Only child links are walked,
// never property, effect, extra-data, controller or skin links.
// Texture paths are built from `textureDirectory` and each texture's file name.
// Returns 1 when this block or any block below it produced a mesh, else 0.
//
// The recursion depth is that of the child links from the root, which the
// file's load has already bounded when it linked parents from the same root.
int ConvertBlock(msModel* model, NifBlock* block, const char* textureDirectory);

// The same walk with "Apply scene transforms" on: animation and particle
// nodes are walked as nodes with children (scene_children.h), each shape's
// vertices are placed by the W of the path it was reached on and turned to
// the host's axes, and bones are placed on their skin (scene_placement.h).
// Names, materials, texture coordinates and the order of meshes and bones
// are those of ConvertBlock. Start it on the root of a file loaded with
// walkAnimationNodes, whose parent walk followed the same links and so
// bounded this walk's depth too.
int ConvertPlacedScene(msModel* model, NifBlock* root, const char* textureDirectory);
