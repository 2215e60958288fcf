// One bone node into one host bone.
#pragma once

#include "host/msLib.h"

class NifBlock;

// Adds a bone named after the node (name left unset when empty), naming its
// parent when the parent node is a bone with a name, placed at the node's
// bind position (relative to the parent bone's bind position when the parent
// is a bone), with rotation (0, 0, 0).
void ImportBone(msModel* model, NifBlock* node);

// As ImportBone, with "Apply scene transforms" on: the bind positions go
// through the W of the skinned shape whose skin data gave the node its bone
// record (a node without a record: its own W, its place in the scene), then
// turn to the host's axes; relative to the parent bone as before.
void ImportPlacedBone(msModel* model, NifBlock* node);
