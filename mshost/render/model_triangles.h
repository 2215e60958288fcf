// The triangles of a model as corner positions, the form the renderer draws.
#pragma once

#include <vector>

#include "host/msLib.h"

namespace mshost::render {

struct Point3 {
    float x, y, z;
};

struct ModelTriangles {
    std::vector<Point3> corners;  // three per triangle
    std::vector<int> meshOf;      // per triangle: the index of its mesh
};

// Every triangle of every mesh whose three corners name vertices of its mesh
// and are finite numbers; the others cannot be drawn and are left out.
ModelTriangles GatherTriangles(msModel* model);

}  // namespace mshost::render
