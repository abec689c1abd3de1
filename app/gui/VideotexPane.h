#pragma once
// The videotex page in the terminal window: what a page needs of the window (its size,
// repaints, "굴림체" text) and, while videotex mode is on, the page painted centred at 1:1 on
// the button-shadow colour with its cursor, and the keys it takes before anything else.
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "term/OutlineGlyphs.h"
#include "vtx/CVtx.h"

class CQuillonDoc;

class VideotexPane : public VtxHost {
public:
    explicit VideotexPane(QWidget& window);

    int ClientWidth() const override { return window_.width(); }
    int ClientHeight() const override { return window_.height(); }
    void Repaint() override { window_.update(); }
    GlyphSource& Glyphs() override { return glyphs_; }

    // The page and, over it, its cursor inverting what it covers.
    void Paint(QPainter& p, const CVtx& page);
    // Keys a page takes: text without Ctrl or Alt, Enter, Backspace, and F1-F10 and the arrows
    // without modifiers. The session hands them to the page.
    static bool Wants(const QKeyEvent& key);
    static void Take(const QKeyEvent& key, CQuillonDoc& doc);

private:
    void paintCursor(QPainter& p, const CVtx::Cursor& cursor, int left);

    QWidget& window_;
    OutlineGlyphs glyphs_;
    QTimer flash_;  // repaints at the next change of a flashing cursor
};
