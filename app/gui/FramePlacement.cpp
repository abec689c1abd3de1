#include "app/gui/FramePlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {

constexpr int kVisibleEdgeWidth = 100;
constexpr int kVisibleEdgeHeight = 32;

bool topEdgeShows(const QRect& rect, const QRect& screen) {
    const QRect edge(rect.left(), rect.top(), rect.width(), kVisibleEdgeHeight);
    const QRect shown = edge & screen;
    return shown.width() >= kVisibleEdgeWidth && shown.height() >= kVisibleEdgeHeight;
}

// Squared distance from the middle of the rectangle's top edge to the screen (0 inside it).
long long distanceTo(const QRect& rect, const QRect& screen) {
    const long long x = rect.left() + rect.width() / 2, y = rect.top();
    const long long dx = std::max<long long>({screen.left() - x, 0, x - screen.right()});
    const long long dy = std::max<long long>({screen.top() - y, 0, y - screen.bottom()});
    return dx * dx + dy * dy;
}

}  // namespace

WindowPlacement placementOf(const QWidget& window) {
    const bool maximised = window.isMaximized();
    const QRect normal =
        window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    WindowPlacement p;
    p.flags = maximised ? kRestoreToMaximised : 0;
    p.showCmd = window.isMinimized() ? ShowCommand::Minimised
                : maximised          ? ShowCommand::Maximised
                                     : ShowCommand::Normal;
    p.minX = p.minY = p.maxX = p.maxY = -1;
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    return p;
}

QRect normalRect(const WindowPlacement& p) {
    return QRect(p.left, p.top, p.right - p.left, p.bottom - p.top);
}

QRect mendedRect(const QRect& rect, const QList<QRect>& screens) {
    if (screens.isEmpty()) return rect;
    for (const QRect& screen : screens)
        if (topEdgeShows(rect, screen)) return rect;
    const QRect nearest = *std::min_element(
        screens.begin(), screens.end(),
        [&](const QRect& a, const QRect& b) { return distanceTo(rect, a) < distanceTo(rect, b); });
    const QSize size = rect.size().boundedTo(nearest.size());
    const int x =
        std::clamp(rect.left(), nearest.left(), nearest.left() + nearest.width() - size.width());
    const int y =
        std::clamp(rect.top(), nearest.top(), nearest.top() + nearest.height() - size.height());
    return QRect(QPoint(x, y), size);
}

QList<QRect> availableScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

bool windowPositionsWork() {
    return !QGuiApplication::platformName().startsWith("wayland");
}
