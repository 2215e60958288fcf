// Which children the conversion walk follows.
//
// As specified, only a NiNode has children: GetNumberChildren and GetChild.
// With "Apply scene transforms" on, NiBSAnimationNode and NiBSParticleNode
// are nodes with children too (banners, waterfalls and fish keep their shapes
// under them); the load's parent walk follows the same links, so its depth
// and visit bounds hold for this walk as well. RootCollisionNode's children
// are collision shapes the game never shows: they stay unwalked.
#pragma once

class NifBlock;

// How many children the walk asks for; asked again before every step.
int SceneChildCount(const NifBlock* block, bool applySceneTransforms);
// The child at `position`, or none (an entry that names no block, or a
// position outside the list).
NifBlock* SceneChild(const NifBlock* block, int position, bool applySceneTransforms);
