#pragma once
// The sample screen of the screen settings dialog, drawn by the terminal's own painter in the
// chosen fonts and colours.
#include <QImage>

#include "term/ScreenSettings.h"
#include "term/TermFonts.h"

// Six rows: "반트라기술 (VANTRA)" at row 0, column 1 in the swapped colours (the caption's
// colours with "SysColor"), "1. 반트라 퀼론 98" and "2. 퀼론 편집기 98" on rows 2 and 3, and
// "선택> " on row 5 followed by a one-cell block in the swapped colours. `columns` wide.
QImage PaintScreenPreview(const ScreenSettings& settings, TermFonts& fonts, int columns);
