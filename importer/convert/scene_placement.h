// Where the scene puts a shape, in the host's axes: the importer option
// "Apply scene transforms".
//
// A shape's vertices are stored in its own coordinates. With the option on,
// every vertex v becomes v * W, where W is the product of the local
// transforms (rotation, uniform scale, translation, as GetLocalTransform
// composes them) of the shape and of every node above it, the shape's first
// and the top node's last (row vectors). The file's z axis points up and the
// host's y axis does, so the result then turns from the file's axes into the
// host's: (x, y, z) -> (x, z, -y), the exact inverse of the exporter's turn.
#pragma once

#include "importer/nif/records.h"
#include "importer/transform/matrix44.h"

class NifBlock;

// One arrival's W, with what it means for the shape's vertices and triangles.
struct ScenePlacement {
    Matrix44 world;
    // Every element of W is finite: vertices go through it. When not, they
    // keep their stored positions (still turned to the host's axes).
    bool finite = true;
    // W mirrors (negative determinant): each triangle (a, b, c) is given as
    // (c, b, a) so that its face keeps facing out.
    bool mirrors = false;
};

// The block's own stored rotation, scale and translation as one transform,
// for every node kind (NiNode, NiBSAnimationNode, NiBSParticleNode,
// RootCollisionNode) and NiTriShape; identity for any other block. Unlike
// GetLocalTransform this counts the animation and particle nodes too.
void SceneLocalTransform(const NifBlock* block, Matrix44& output);

// The placement of `world`: finiteness and mirroring worked out once.
ScenePlacement PlacementOf(const Matrix44& world);

// W of `block` through the parent links that the load set: its own local
// transform, then its parent's, and so on up to a block without a parent.
// The chain follows the links the load walked from block 0, so it ends; it
// is still cut after the load's depth bound.
void WorldThroughParents(const NifBlock* block, Matrix44& output);

// (x, y, z) in the file's axes -> (x, z, -y) in the host's.
NifVector ToHostAxes(const NifVector& file);

// A stored position placed: through W when it is finite, then to the host's axes.
NifVector PlacePosition(const ScenePlacement& placement, const NifVector& stored);
