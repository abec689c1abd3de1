#pragma once
// Paints rows of the screen buffer into an image, as the terminal window shows them: the
// background (colour, tiled wallpaper or desktop picture), runs of text in their colours,
// Hangul from the bitmap font, the special double-byte characters, the line-plane strokes,
// double-width and double-height rows, the selection inverted and the caret.
#include <QImage>
#include <array>

#include "term/ScreenSettings.h"
#include "term/TWSelection.h"
#include "term/TWView.h"
#include "term/TermFonts.h"

using TermPalette = std::array<QRgb, 16>;

// Colours that "SysColor" takes from the desktop for palette entries 1, 7, 8 and 14.
struct SystemColors {
    QRgb activeCaption, buttonFace, buttonShadow, tooltipBackground;
};
// The 16 PC text colours, with the four entries replaced when `sysColor` is on.
TermPalette MakePalette(bool sysColor, const SystemColors& system);
// The application palette's colours (a QGuiApplication must exist).
SystemColors DesktopColors();

struct PaintRequest {
    int topRow = 0;  // logical row painted at the top of the image
    int rows = 25;
    const TWSelection* selection = nullptr;
    bool caret = false;          // the caret at the view's cursor (screen coordinates)
    bool caretTwoCells = false;  // while the input method composes a syllable
};

class ScreenPainter {
public:
    explicit ScreenPainter(TermFonts& fonts) : fonts_(fonts) {}

    void SetPalette(const TermPalette& palette) { palette_ = palette; }
    // What shows where cells have the default background: nothing (the colour is painted), a
    // picture tiled from the image's top left, or the desktop picture (a colour when null).
    void SetWallpaper(const QImage& picture) { wallpaper_ = picture; }
    void SetDesktopBackground(bool on, const QImage& picture = {}) {
        desktop_ = on;
        desktopPicture_ = picture;
    }

    // Paints the requested rows over the whole image, which should be 80 cells wide.
    void Paint(QImage& target, const TWView& view, const PaintRequest& request);

private:
    bool transparentBackground() const { return desktop_ || !wallpaper_.isNull(); }
    void paintBackdrop(QImage& target, int y, int height, uint8_t defaultAttr);
    void paintRow(QImage& target, int y, const TWView& view, int row);
    void paintDoubledRow(QImage& target, int y, const TWView& view, int row, uint8_t flag);
    void paintCharacter(QImage& target, int x, int y, uint8_t attr, uint8_t lead, uint8_t trail);
    void paintLineCodes(QImage& target, int y, const uint8_t* lines, const uint8_t* attrs);
    void invert(QImage& target, int x, int y, int w, int h);

    TermFonts& fonts_;
    TermPalette palette_ = MakePalette(false, {});
    QImage wallpaper_;
    bool desktop_ = false;
    QImage desktopPicture_;
    uint8_t defaultBackground_ = 1;
    QImage scratch_;
};

// The view's screen as the window shows it at the bottom of the scroll-back, in the fonts and
// colours of the settings, caret included when the view shows it.
QImage RenderScreen(const TWView& view, TermFonts& fonts, const ScreenSettings& settings);
