#include "app/gui/DialerPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSize = 48;

void drawHandset(QPainter& painter) {
    QPainterPath handset;
    handset.moveTo(8, 14);
    handset.cubicTo(4, 24, 12, 38, 24, 42);
    handset.lineTo(28, 36);
    handset.lineTo(22, 30);
    handset.lineTo(18, 32);
    handset.cubicTo(15, 28, 13, 24, 14, 20);
    handset.lineTo(18, 18);
    handset.lineTo(16, 10);
    handset.closeSubpath();
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(40, 70, 140));
    painter.drawPath(handset);
}

}  // namespace

QPixmap DialerPicture(int step) {
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawHandset(painter);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(200, 60, 40), 2));
    // Step 0 shows the handset alone; each later step adds a wave further out.
    for (int wave = 1; wave <= step; ++wave) {
        const int radius = 4 + wave * 4;
        painter.drawArc(QRectF(30 - radius, 16 - radius, 2 * radius, 2 * radius), -30 * 16,
                        120 * 16);
    }
    return picture;
}
