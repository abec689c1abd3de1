#include "vtx/VtxMirror.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Unit-screen values far outside the screen are held where they still convert to int.
constexpr double kFar = 1e6;

int floorClamped(double v) {
    return int(std::floor(std::clamp(v, -kFar, kFar)));
}

}  // namespace

bool VtxTexture::Inked(int x, int y) const {
    switch (pattern) {
        case VerticalHatch:
            return x % cellW == 0;
        case HorizontalHatch:
            return y % cellH == 0;
        case CrossHatch:
            return x % cellW == 0 || y % cellH == 0;
        default:
            return true;
    }
}

VtxMirror::VtxMirror(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(size_t(width_) * height_, kWhite) {
    palette_[kWhite] = {255, 255, 255};
}

int VtxMirror::Column(double x) const {
    return floorClamped(x * width_);
}

int VtxMirror::Row(double y) const {
    return height_ - 1 - floorClamped(y * width_);
}

int VtxMirror::Pixels(double length) const {
    return int(std::lround(std::clamp(length * width_, -kFar, kFar)));
}

void VtxMirror::Fill(uint8_t index) {
    std::fill(pixels_.begin(), pixels_.end(), index);
}

void VtxMirror::Plot(int x, int y, uint8_t index) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(y) * width_ + x] = index;
}

void VtxMirror::FillBox(int x0, int y0, int x1, int y1, uint8_t index, const VtxTexture& texture) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, width_), y1 = std::min(y1, height_);
    for (int y = y0; y < y1; ++y) {
        uint8_t* row = pixels_.data() + size_t(y) * width_;
        if (texture.pattern == VtxTexture::Solid) {
            std::fill_n(row + x0, std::max(x1 - x0, 0), index);
            continue;
        }
        for (int x = x0; x < x1; ++x)
            if (texture.Inked(x, y)) row[x] = index;
    }
}

// Cuts the segment to the box [lo, hi] on both axes (Liang-Barsky); false when nothing is left.
bool VtxMirror::clipSegment(double& x0, double& y0, double& x1, double& y1, double lo, double hiX,
                            double hiY) {
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - lo, hiX - x0, y0 - lo, hiY - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    x1 = x0 + t1 * dx, y1 = y0 + t1 * dy;
    x0 = x0 + t0 * dx, y0 = y0 + t0 * dy;
    return true;
}

void VtxMirror::Line(int ax, int ay, int bx, int by, int pelW, int pelH, uint8_t index,
                     uint16_t texture) {
    // Ends far outside are brought in first, so that walking the line stays short.
    const double margin = std::max(pelW, pelH) + 1;
    double fx0 = ax, fy0 = ay, fx1 = bx, fy1 = by;
    if (!clipSegment(fx0, fy0, fx1, fy1, -margin, width_ + margin, height_ + margin)) return;
    int x0 = int(std::lround(fx0)), y0 = int(std::lround(fy0));
    const int x1 = int(std::lround(fx1)), y1 = int(std::lround(fy1));
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (int step = 0;; ++step) {
        if (texture >> (15 - step % 16) & 1) FillBox(x0, y0 - pelH + 1, x0 + pelW, y0 + 1, index);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void VtxMirror::FillPolygon(const std::vector<VtxPoint>& vertices, uint8_t index,
                            const VtxTexture& texture) {
    if (vertices.size() < 3) return;
    std::vector<double> px, py;  // vertices in pixel space, y downward
    for (const VtxPoint& v : vertices) {
        px.push_back(std::clamp(v.x * width_, -kFar, kFar));
        py.push_back(height_ - std::clamp(v.y * width_, -kFar, kFar));
    }
    const auto [lo, hi] = std::minmax_element(py.begin(), py.end());
    const int rowFirst = std::max(0, int(std::floor(*lo)));
    const int rowLast = std::min(height_ - 1, int(std::ceil(*hi)));
    std::vector<double> crossings;
    for (int row = rowFirst; row <= rowLast; ++row) {
        const double cy = row + 0.5;
        crossings.clear();
        for (size_t i = 0, j = px.size() - 1; i < px.size(); j = i++) {
            if ((py[i] <= cy) == (py[j] <= cy)) continue;
            crossings.push_back(px[i] + (cy - py[i]) * (px[j] - px[i]) / (py[j] - py[i]));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const int from = int(std::ceil(crossings[k] - 0.5));
            const int to = int(std::ceil(crossings[k + 1] - 0.5));
            FillBox(from, row, to, row + 1, index, texture);
        }
    }
}

void VtxMirror::Stamp(const GlyphMask& mask, int x, int y, uint8_t index) {
    for (int gy = 0; gy < mask.height; ++gy)
        for (int gx = 0; gx < mask.width; ++gx)
            if (mask.alpha[size_t(gy) * mask.width + gx] >= 128) Plot(x + gx, y + gy, index);
}

void VtxMirror::ScrollUp(int x0, int y0, int x1, int y1, int rows, uint8_t fill) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, width_), y1 = std::min(y1, height_);
    if (x1 <= x0 || y1 <= y0 || rows <= 0) return;
    for (int y = y0; y + rows < y1; ++y)
        std::copy_n(pixels_.begin() + size_t(y + rows) * width_ + x0, x1 - x0,
                    pixels_.begin() + size_t(y) * width_ + x0);
    FillBox(x0, std::max(y0, y1 - rows), x1, y1, fill);
}

void VtxMirror::ScrollLeft(int x0, int y0, int x1, int y1, int columns, uint8_t fill) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, width_), y1 = std::min(y1, height_);
    if (x1 <= x0 || y1 <= y0 || columns <= 0) return;
    for (int y = y0; y < y1 && columns < x1 - x0; ++y) {
        uint8_t* row = pixels_.data() + size_t(y) * width_;
        std::copy(row + x0 + columns, row + x1, row + x0);
    }
    FillBox(std::max(x0, x1 - columns), y0, x1, y1, fill);
}
