#include "baduk/gui/CEditBar.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include "baduk/BadukInit.h"

CEditBar::CEditBar(const QFont& font, QWidget* parent)
    : QWidget(parent),
      lines_(kLines),
      lineHeight_(QFontMetrics(font).height() + QFontMetrics(font).leading()) {
    setFont(font);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CEditBar::SetLine(int index, const QString& text) {
    if (index < 0 || index >= kLines || lines_[index] == text) return;
    lines_[index] = text;
    update(0, index * lineHeight_, width(), lineHeight_);
}

void CEditBar::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Active, QPalette::Highlight));
    painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
    QFontMetrics metrics(font());
    for (int i = 0; i < kLines; ++i) {
        QRect line(0, i * lineHeight_, width(), lineHeight_);
        if (line.intersects(event->rect()))
            painter.drawText(0, line.top() + metrics.ascent(), lines_[i]);
    }
}

void CEditBar::mouseDoubleClickEvent(QMouseEvent*) {
    BadukPuts("");
}
