#include "videomail/CaptionPainter.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include "platform/TextCodec.h"

void drawCaption(std::string& rgb, const std::string& caption, bool opaque) {
    constexpr int kWidth = 176, kHeight = 144, kStripTop = 120;
    if (rgb.size() != kWidth * kHeight * 3) return;
    QImage image(reinterpret_cast<uchar*>(rgb.data()), kWidth, kHeight, kWidth * 3,
                 QImage::Format_RGB888);
    QPainter painter(&image);
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(13);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    QRect strip(0, kStripTop, kWidth, kHeight - kStripTop);
    QString text = QString::fromStdString(cp949ToUtf8Lossy(caption));
    QRect box = painter.boundingRect(strip, Qt::AlignHCenter | Qt::AlignBottom, text);
    if (opaque) painter.fillRect(box, Qt::blue);
    painter.setPen(Qt::white);
    painter.drawText(strip, Qt::AlignHCenter | Qt::AlignBottom, text);
}
