#include "vtx/VtxShapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kSame = 1e-9;
constexpr int kMaxSteps = 4096;

bool same(VtxPoint a, VtxPoint b) {
    return std::abs(a.x - b.x) < kSame && std::abs(a.y - b.y) < kSame;
}

// The angle from `from` counter-clockwise to `to`, in [0, 2 pi).
double sweep(double from, double to) {
    const double d = std::fmod(to - from, kTwoPi);
    return d < 0 ? d + kTwoPi : d;
}

std::vector<VtxPoint> circlePath(VtxPoint c, double r, double a0, double span, double step) {
    const int n =
        std::clamp(int(std::ceil(std::abs(span) * r / std::max(step, 1e-6))), 8, kMaxSteps);
    std::vector<VtxPoint> out;
    for (int i = 0; i <= n; ++i) {
        const double a = a0 + span * i / n;
        out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return out;
}

}  // namespace

std::vector<VtxPoint> ArcPath(VtxPoint start, VtxPoint middle, VtxPoint end, double step) {
    if (same(start, end)) {
        if (same(start, middle)) return {start};
        const VtxPoint c{(start.x + middle.x) / 2, (start.y + middle.y) / 2};
        const double r = std::hypot(start.x - c.x, start.y - c.y);
        return circlePath(c, r, std::atan2(start.y - c.y, start.x - c.x), kTwoPi, step);
    }
    // The centre: where the perpendicular bisectors of start-middle and middle-end meet.
    const double ax = start.x, ay = start.y, bx = middle.x, by = middle.y, cx = end.x, cy = end.y;
    const double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    if (std::abs(d) < kSame) return {start, middle, end};
    const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const VtxPoint centre{(a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d,
                          (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d};
    const double r = std::hypot(ax - centre.x, ay - centre.y);
    const double a0 = std::atan2(ay - centre.y, ax - centre.x);
    const double am = std::atan2(by - centre.y, bx - centre.x);
    const double a1 = std::atan2(cy - centre.y, cx - centre.x);
    // Counter-clockwise when the middle point lies on that way round, clockwise otherwise.
    const double ccw = sweep(a0, a1);
    const double span = sweep(a0, am) <= ccw ? ccw : ccw - kTwoPi;
    return circlePath(centre, r, a0, span, step);
}
