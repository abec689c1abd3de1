#pragma once
// Paints the board view into an image: the board picture made once (background, grid, labels,
// star points, shadow), then the stones with the last-move mark, the move numbers and the
// hovered point's frame over any part of it.
#include "baduk/BoardBitmaps.h"
#include "image/Dib.h"
#include "image/Surface.h"
#include "term/GlyphSource.h"
#include "term/TWView.h"

class CBadukDoc;

class BoardPainter {
public:
    static constexpr uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu;
    static constexpr uint32_t kButtonShadow = 0xFF808080u, kActiveCaption = 0xFF000080u;
    // Character box of the "Arial" labels and numbers (the font is 12 pixels high).
    static constexpr int kGlyphWidth = 7, kGlyphHeight = 12;

    // b: 19, 25 or 33. The glyphs stand for the "Arial" face.
    BoardPainter(int b, BoardBitmaps bitmaps, GlyphSource& glyphs);

    int CellSize() const { return b_; }
    int Width() const { return board_.width; }
    int Height() const { return board_.height; }
    const Surface& Board() const { return board_; }

    // Paints the part `update` of the view (a surface the view's size).
    void Paint(Surface& view, const Rect& update, const CBadukDoc& doc, bool numbering,
               TWPoint hovered);
    // The whole view.
    Surface Render(const CBadukDoc& doc, bool numbering, TWPoint hovered);
    // The picture to save: no hover frame, 2 pixels less high, as a DIB (the caller frees it).
    HDIB PictureDIB(const CBadukDoc& doc, bool numbering);

private:
    void drawBoard();
    void drawText(Surface& view, const Rect& clip, const std::string& text, int left, int top,
                  uint32_t colour);
    void drawStone(Surface& view, const Rect& clip, int column, int row, int image);

    int b_;
    BoardBitmaps bitmaps_;
    GlyphSource& glyphs_;
    Surface board_;
};
