// Drawing a model: its triangles projected, shaded by their face normal and
// filled into a raster of twice the size, which is then halved.
#include "mshost/render/draw_model.h"

#include <cmath>

#include "mshost/render/model_triangles.h"
#include "mshost/render/raster.h"
#include "mshost/render/view.h"

namespace mshost::render {
namespace {

constexpr Colour kBackground = {244, 244, 240};

// One colour per mesh, in turn, so that the parts of a model can be told apart.
constexpr Colour kMeshColours[] = {
    {200, 170, 120},  // sand
    {120, 160, 200},  // blue
    {150, 190, 130},  // green
    {210, 140, 130},  // red
    {180, 150, 200},  // violet
    {200, 190, 110},  // yellow
};

// The light, in the view's frame (x right, y up, z towards the viewer): from
// the upper left, in front.
constexpr double kLightX = -0.42;
constexpr double kLightY = 0.64;
constexpr double kLightZ = 0.64;
// The share of a colour that every face gets, lit or not.
constexpr double kAmbient = 0.2;

uint8_t Scaled(uint8_t channel, double brightness) {
    const double value = channel * brightness + 0.5;
    return static_cast<uint8_t>(value > 255.0 ? 255.0 : value);
}

// The face's colour: its mesh's colour lit by the angle between its normal
// (turned towards the viewer: faces are seen from both sides) and the light.
// The cosine is wrapped to 0..1 ("half Lambert") so that faces turned away
// from the light still differ from each other instead of all going dark.
// False for a face without a normal (its corners on one line).
bool ShadeFace(const FittedView& view, const Point3* corner, int mesh, Colour* colour) {
    const double ux = corner[1].x - static_cast<double>(corner[0].x);
    const double uy = corner[1].y - static_cast<double>(corner[0].y);
    const double uz = corner[1].z - static_cast<double>(corner[0].z);
    const double vx = corner[2].x - static_cast<double>(corner[0].x);
    const double vy = corner[2].y - static_cast<double>(corner[0].y);
    const double vz = corner[2].z - static_cast<double>(corner[0].z);
    ViewDirection normal = view.Turn(uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx);
    const double length = std::sqrt(normal.x * normal.x + normal.y * normal.y + normal.z * normal.z);
    if (!(length > 0.0) || !std::isfinite(length)) return false;
    const double toViewer = normal.z < 0.0 ? -1.0 : 1.0;
    const double lightLength = std::sqrt(kLightX * kLightX + kLightY * kLightY + kLightZ * kLightZ);
    const double cosine =
        toViewer * (normal.x * kLightX + normal.y * kLightY + normal.z * kLightZ) / (length * lightLength);
    const double wrapped = 0.5 + 0.5 * cosine;
    const double brightness = kAmbient + (1.0 - kAmbient) * wrapped;
    const Colour& base = kMeshColours[static_cast<size_t>(mesh) % std::size(kMeshColours)];
    *colour = {Scaled(base.r, brightness), Scaled(base.g, brightness), Scaled(base.b, brightness)};
    return true;
}

}  // namespace

Picture DrawModel(msModel* model, int width, int height) {
    const ModelTriangles triangles = GatherTriangles(model);
    const FittedView view(triangles.corners, width * 2, height * 2);
    Raster raster(width * 2, height * 2, kBackground);
    for (size_t t = 0; t < triangles.meshOf.size(); ++t) {
        const Point3* corner = &triangles.corners[t * 3];
        Colour colour{};
        if (!ShadeFace(view, corner, triangles.meshOf[t], &colour)) continue;
        raster.FillTriangle(view.Project(corner[0]), view.Project(corner[1]), view.Project(corner[2]), colour);
    }
    return {width, height, raster.HalvedRgb()};
}

}  // namespace mshost::render
