// A bound on how much one import may add to the host's model.
//
// A small file can describe an enormous model: the conversion adds a shape
// once per arrival of the walk, so a large shape listed as a child many times,
// level after level, is added again and again. Within the load's walk bounds
// that can still mean billions of host vertices, an import that never ends in
// the host. So the items a conversion would add are counted first, without
// touching the model, and a scene above the bound is refused like a reading
// error: the host's model stays unchanged.
#pragma once

class DebugPrinter;
class NifBlock;

// Meshes, materials, bones, vertices and triangles together. Real models stay
// far below it; the host holds at most 65,534 vertices per mesh.
inline constexpr long long kMaxConvertedItems = 16777216;

// How many host items converting `root` would add, counting stops once the
// total passes `limit`, so the walk costs no more than the bound. With
// `applySceneTransforms` the count follows the children that walk follows.
long long CountConvertedItems(NifBlock* root, long long limit, bool applySceneTransforms = false);

// When converting `root` would add more than kMaxConvertedItems items: echoes
// "Scene too large to import (more than 16777216 meshes, materials, bones,
// vertices and triangles)." on `printer` and throws it as a TextException.
void CheckConversionSize(NifBlock* root, DebugPrinter* printer, bool applySceneTransforms = false);
