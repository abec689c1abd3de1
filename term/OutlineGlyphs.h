#pragma once
// An installed outline face as a glyph source: each character drawn to fill its box (the
// face's advance stretched to the box width), made once per size and kept. Needs a
// QGuiApplication; works on the offscreen platform.
#include <QFont>
#include <QString>
#include <unordered_map>

#include "term/GlyphSource.h"

class OutlineGlyphs : public GlyphSource {
public:
    // face: a face name as the settings hold it ("굴림체" stands for its installed stand-in).
    explicit OutlineGlyphs(const QString& face);
    GlyphMask Glyph(char32_t c, int width, int height) override;

private:
    GlyphMask draw(char32_t c, int width, int height) const;

    QString family_;
    std::unordered_map<uint64_t, GlyphMask> cache_;
};
