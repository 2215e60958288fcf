// The three-quarter view: turned 45 degrees about y (the right side comes
// into view), then tilted 30 degrees down (the top comes into view).
#include "mshost/render/view.h"

#include <algorithm>
#include <limits>

namespace mshost::render {
namespace {

// cos and sin of 45 and of 30 degrees, written out so that every build turns
// the model by the very same numbers.
constexpr double kCos45 = 0.70710678118654752;
constexpr double kSin45 = 0.70710678118654752;
constexpr double kCos30 = 0.86602540378443865;
constexpr double kSin30 = 0.5;

// The share of the picture's width and height left free on each side.
constexpr double kMargin = 0.06;

}  // namespace

ViewDirection FittedView::Turn(double x, double y, double z) const {
    // About y: the model's +x and +z both come half towards the viewer.
    const double turnedX = x * kCos45 - z * kSin45;
    const double turnedZ = x * kSin45 + z * kCos45;
    // Tilted about the view's x axis: the viewer looks down on the top.
    return {turnedX, y * kCos30 - turnedZ * kSin30, y * kSin30 + turnedZ * kCos30};
}

FittedView::FittedView(const std::vector<Point3>& points, int width, int height) {
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -minX;
    double minY = minX;
    double maxY = -minX;
    for (const Point3& point : points) {
        const ViewDirection p = Turn(point.x, point.y, point.z);
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    if (points.empty()) minX = maxX = minY = maxY = 0.0;
    const double usableWidth = width * (1.0 - 2.0 * kMargin);
    const double usableHeight = height * (1.0 - 2.0 * kMargin);
    const double spanX = maxX - minX;
    const double spanY = maxY - minY;
    if (spanX > 0.0 || spanY > 0.0) {
        scale_ = std::min(spanX > 0.0 ? usableWidth / spanX : std::numeric_limits<double>::infinity(),
                          spanY > 0.0 ? usableHeight / spanY : std::numeric_limits<double>::infinity());
    }
    centreX_ = width / 2.0 - (minX + maxX) / 2.0 * scale_;
    centreY_ = height / 2.0 + (minY + maxY) / 2.0 * scale_;
}

ScreenPoint FittedView::Project(const Point3& point) const {
    const ViewDirection p = Turn(point.x, point.y, point.z);
    return {centreX_ + p.x * scale_, centreY_ - p.y * scale_, p.z};
}

}  // namespace mshost::render
