#include "vtx/VtxImage.h"

#include <cstring>

QImage VtxImage(const VtxMirror& m) {
    QImage image(m.Width(), m.Height(), QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const VtxRgb& c : m.Palette())
        table << qRgb(c.r, c.g, c.b);
    image.setColorTable(table);
    for (int y = 0; y < m.Height(); ++y)
        std::memcpy(image.scanLine(y), m.Pixels().data() + size_t(y) * m.Width(), m.Width());
    return image;
}
