#include "term/TWServices.h"

namespace {

// The logical row of a line number, or -1 outside the ring.
int rowOfLine(const TWView& view, int line) {
    const long row = long(view.ScreenTop()) - view.ScrolledSinceClear() + line;
    return row >= 0 && row < TWView::kRingRows ? static_cast<int>(row) : -1;
}

}  // namespace

int TWGetVTLine(const TWView& view, int line, const uint8_t** out) {
    const int row = rowOfLine(view, line);
    *out = row < 0 ? nullptr : view.CharRow(row);
    return row < 0 ? -1 : 0;
}

int TWGetVTAttr(const TWView& view, int line, const uint8_t** out) {
    const int row = rowOfLine(view, line);
    *out = row < 0 ? nullptr : view.AttrRow(row);
    return row < 0 ? -1 : 0;
}

void VTPuts(const char* text, const std::function<void(std::string_view)>& sendText) {
    sendText(text);
    sendText("\r");
}

void RestoreColors(TWView& view, TWEmulator* emulator) {
    if (emulator) {
        emulator->ClearRendition();
    } else {
        view.SetReverse(false);
        view.SetBold(false);
        view.SetConceal(false);
    }
    view.SetRegion(0, 0);
    const uint8_t defaults = view.DefaultAttribute();
    view.SetColors(defaults & 15, defaults >> 4);
}
