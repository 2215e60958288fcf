// Triangle filling with edge functions over the triangle's bounding box.
#include "mshost/render/raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mshost::render {
namespace {

// Twice the signed area of (a, b, p): positive when p lies left of a->b.
double Edge(const ScreenPoint& a, const ScreenPoint& b, double px, double py) {
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

// The first and last pixel index whose centre (index + 0.5) can lie within
// [low, high], clipped to [0, count - 1]; first > last when none can.
void PixelSpan(double low, double high, int count, int* first, int* last) {
    const double from = std::ceil(low - 0.5);
    const double to = std::floor(high - 0.5);
    *first = from < 0.0 ? 0 : from > count ? count : static_cast<int>(from);
    *last = to < 0.0 ? -1 : to > count - 1 ? count - 1 : static_cast<int>(to);
}

}  // namespace

Raster::Raster(int width, int height, Colour background)
    : width_(width),
      height_(height),
      rgb_(static_cast<size_t>(width) * static_cast<size_t>(height) * 3),
      depth_(static_cast<size_t>(width) * static_cast<size_t>(height), -std::numeric_limits<float>::infinity()) {
    for (size_t i = 0; i < rgb_.size(); i += 3) {
        rgb_[i] = background.r;
        rgb_[i + 1] = background.g;
        rgb_[i + 2] = background.b;
    }
}

void Raster::FillTriangle(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c, Colour colour) {
    const double area = Edge(a, b, c.x, c.y);
    if (!(std::fabs(area) > 0.0) || !std::isfinite(area)) return;  // no pixels to cover
    const double perArea = 1.0 / area;
    int firstX = 0;
    int lastX = 0;
    int firstY = 0;
    int lastY = 0;
    PixelSpan(std::min({a.x, b.x, c.x}), std::max({a.x, b.x, c.x}), width_, &firstX, &lastX);
    PixelSpan(std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y}), height_, &firstY, &lastY);
    for (int y = firstY; y <= lastY; ++y) {
        const double py = y + 0.5;
        for (int x = firstX; x <= lastX; ++x) {
            const double px = x + 0.5;
            // Barycentric weights, all of one sign inside whatever the winding.
            const double wa = Edge(b, c, px, py) * perArea;
            const double wb = Edge(c, a, px, py) * perArea;
            const double wc = Edge(a, b, px, py) * perArea;
            if (wa < 0.0 || wb < 0.0 || wc < 0.0) continue;
            const auto depth = static_cast<float>(wa * a.depth + wb * b.depth + wc * c.depth);
            const size_t pixel = static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
            if (depth <= depth_[pixel]) continue;
            depth_[pixel] = depth;
            rgb_[pixel * 3] = colour.r;
            rgb_[pixel * 3 + 1] = colour.g;
            rgb_[pixel * 3 + 2] = colour.b;
        }
    }
}

std::vector<uint8_t> Raster::HalvedRgb() const {
    const int width = width_ / 2;
    const int height = height_ / 2;
    std::vector<uint8_t> halved(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    const size_t row = static_cast<size_t>(width_) * 3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t top = static_cast<size_t>(2 * y) * row + static_cast<size_t>(2 * x) * 3;
            for (size_t channel = 0; channel < 3; ++channel) {
                const unsigned sum = rgb_[top + channel] + rgb_[top + 3 + channel] + rgb_[top + row + channel] +
                                     rgb_[top + row + 3 + channel];
                halved[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3 + channel] =
                    static_cast<uint8_t>((sum + 2) / 4);
            }
        }
    }
    return halved;
}

}  // namespace mshost::render
