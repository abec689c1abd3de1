#pragma once
// What other programs and libraries ask of the terminal window: the rows of the screen as the
// host drew them ("TWGetVTLine", "TWGetVTAttr"), sending a line to the host ("VTPuts"), and the
// colour restore command.
#include <cstdint>
#include <functional>
#include <string_view>

#include "term/TWEmulator.h"
#include "term/TWView.h"

// Line numbers count from the first screen row as it was at the last screen clear, so they
// stay valid while the screen scrolls. 0 and the 80 bytes of the row in `out`, or -1 and a null
// pointer when the line lies outside the ring.
int TWGetVTLine(const TWView& view, int line, const uint8_t** out);
int TWGetVTAttr(const TWView& view, int line, const uint8_t** out);

// Sends the text and then CR through the document's SendText.
void VTPuts(const char* text, const std::function<void(std::string_view)>& sendText);

inline constexpr char kRestoreColorsStatus[] = "터미날 색상을 원래대로 복구합니다.";
// Rendition flags off (in the interpreter too when there is one), the scrolling region the
// whole screen, the current colours the default ones.
void RestoreColors(TWView& view, TWEmulator* emulator);
