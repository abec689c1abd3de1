#include "image/gui/ScreenGrab.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "image/DibConvert.h"
#include "image/Palettes.h"

Surface surfaceFromImage(const QImage& image) {
    if (image.isNull()) return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Surface out(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        std::copy(row, row + rgb.width(), out.row(y));
    }
    return out;
}

Surface CopyScreenToBitmap(Rect rect) {
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || rect.width() <= 0 || rect.height() <= 0) return {};
    return surfaceFromImage(
        screen->grabWindow(0, rect.left, rect.top, rect.width(), rect.height()).toImage());
}

HDIB CopyScreenToDIB(Rect rect) {
    const Surface grabbed = CopyScreenToBitmap(rect);
    return grabbed.empty() ? nullptr : BitmapToDIB(grabbed, GetSystemPalette());
}

Surface CopyWindowToBitmap(QWidget* window, int which) {
    if (!window || (which != 1 && which != 2)) return {};
    if (which == 2) return surfaceFromImage(window->grab().toImage());
    const QRect frame = window->frameGeometry();
    return CopyScreenToBitmap(
        Rect{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1});
}

HDIB CopyWindowToDIB(QWidget* window, int which) {
    const Surface grabbed = CopyWindowToBitmap(window, which);
    return grabbed.empty() ? nullptr : BitmapToDIB(grabbed, GetSystemPalette());
}

int PalEntriesOnDevice() {
    return 0;
}

Palette GetSystemPalette() {
    return halftonePalette();
}
