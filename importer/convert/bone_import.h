// One bone node into one host bone.
#pragma once

#include "host/msLib.h"

class NifBlock;

// Adds a bone named after the node (name left unset when empty), naming its
// parent when the parent node is a bone with a name, placed at the node's
// bind position (relative to the parent bone's bind position when the parent
// is a bone), with rotation (0, 0, 0).
void ImportBone(msModel* model, NifBlock* node);
