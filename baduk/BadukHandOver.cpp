#include "baduk/BadukHandOver.h"

#include "baduk/BadukInit.h"

namespace {

constexpr int kFirstBoardRow = 1, kLastBoardRow = 19;
constexpr int kFirstBoardColumn = 3, kLastBoardColumn = 39;

}  // namespace

BadukHandOver::BadukHandOver(TWView& view, std::function<std::string()> serviceName, bool mode)
    : view_(view), serviceName_(std::move(serviceName)), mode_(mode) {}

// Switching on opens the board only while one is on screen, never an empty window.
void BadukHandOver::SetMode(bool on) {
    if (on == mode_) return;
    mode_ = on;
    if (on && view_.BoardInProgress()) open();
    if (!on && view_.BoardInProgress()) view_.EndBoard();
}

void BadukHandOver::OnBoardRecognised() {
    if (mode_) open();
}

void BadukHandOver::OnBoardEraseToEndOfLine(TWPoint cursor) {
    if (mode_) Baduk2EOL(cursor);
}

void BadukHandOver::OnScreenCleared() {
    if (view_.BoardInProgress()) view_.EndBoard();
}

// The screen is replayed two columns at a time with the flag false, then the observer sees
// every character drawn. The board's points lie on odd columns, which that walk never meets,
// so they are replayed too, each with its own attribute flag: an open board shows the stones
// already on screen, in their colours, with the last move.
void BadukHandOver::open() {
    std::string service = serviceName_ ? serviceName_() : std::string();
    TWView::CharObserver observer = AfxBadukInit(service.c_str(), nullptr);
    if (!observer) return;
    for (int y = 0; y < view_.Rows(); ++y) {
        int logical = view_.ScreenTop() + y;
        const uint8_t* chars = view_.CharRow(logical);
        const uint8_t* attrs = view_.AttrRow(logical);
        for (int x = 0; x < TWView::kColumns; x += 2)
            observer({x, y}, false, chars + x, 2);
        if (y < kFirstBoardRow || y > kLastBoardRow) continue;
        for (int x = kFirstBoardColumn; x <= kLastBoardColumn; x += 2)
            observer({x, y}, attrs[x] != view_.DefaultAttribute(), chars + x, 2);
    }
    view_.SetCharObserver(std::move(observer));
}
