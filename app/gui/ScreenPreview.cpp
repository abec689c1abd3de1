#include "app/gui/ScreenPreview.h"

#include "platform/TextCodec.h"
#include "term/ScreenPainter.h"

namespace {

constexpr int kRows = 6;
// Colour indexes that show the active caption's colours while "SysColor" maps entry 1.
constexpr int kCaptionText = 15, kCaptionBackground = 1;

void put(TWView& view, const char* utf8) {
    const std::string text = utf8ToCp949Lossy(utf8);
    view.PutText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
}

void write(TWView& view, int column, int row, const char* utf8) {
    view.MoveTo(column + 1, row + 1);
    put(view, utf8);
}

}  // namespace

QImage PaintScreenPreview(const ScreenSettings& settings, TermFonts& fonts, int columns) {
    TWView view;
    view.SetRows(kRows);
    view.SetDefaultColors(settings.textColor, settings.bkColor);
    view.SetColors(settings.textColor, settings.bkColor);
    view.ClearScreen();
    view.HideCaret();
    const int swappedText = settings.sysColor ? kCaptionText : settings.bkColor;
    const int swappedBack = settings.sysColor ? kCaptionBackground : settings.textColor;

    view.SetColors(swappedText, swappedBack);
    write(view, 1, 0, "반트라기술 (VANTRA)");
    view.SetColors(settings.textColor, settings.bkColor);
    write(view, 0, 2, "1. 반트라 퀼론 98");
    write(view, 0, 3, "2. 퀼론 편집기 98");
    write(view, 0, 5, "선택> ");
    view.SetColors(swappedText, swappedBack);
    put(view, " ");

    const QImage screen = RenderScreen(view, fonts, settings);
    return screen.copy(0, 0, std::min(columns, TWView::kColumns) * fonts.CellWidth(),
                       screen.height());
}
