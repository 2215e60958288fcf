// The renderer's one camera: a fixed three-quarter view (from the front,
// the right and above, y up, as the host shows a model) with an orthographic
// projection fitted to the bounds of what is drawn.
#pragma once

#include <vector>

#include "mshost/render/model_triangles.h"

namespace mshost::render {

// A point after the view: x to the right and y down in pixels of the picture,
// depth growing towards the viewer.
struct ScreenPoint {
    double x, y, depth;
};

// A direction in the view's frame: x right, y up, z towards the viewer.
struct ViewDirection {
    double x, y, z;
};

class FittedView {
public:
    // Fits `points` into a picture of width x height pixels with a margin on
    // every side; no points (or one) are centred.
    FittedView(const std::vector<Point3>& points, int width, int height);

    ScreenPoint Project(const Point3& point) const;
    // The direction of a model-space vector in the view's frame (not scaled).
    ViewDirection Turn(double x, double y, double z) const;

private:
    double scale_ = 1.0;
    double centreX_ = 0.0;  // picture position of the view-space origin
    double centreY_ = 0.0;
};

}  // namespace mshost::render
