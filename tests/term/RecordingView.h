#pragma once
// A screen buffer that counts its notifications and keeps the lines offered to automation, with
// small helpers to read screen rows back as text.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "term/TWView.h"

class RecordingView : public TWView {
public:
    using TWView::TWView;

    void OnLineReady(bool partial) override {
        lines.emplace_back(PendingLine());
        partials.push_back(partial);
    }
    void SetHangulInputMode(bool on) override { hangulInput.push_back(on); }

    void Write(std::string_view bytes) {
        for (char c : bytes)
            PutByte(static_cast<uint8_t>(c));
    }
    // Writes "R00", "R01", ... at the start of the first `count` screen rows (all rows when
    // negative) without scrolling; the cursor stays after the last label.
    void LabelRows(int count = -1) {
        for (int y = 0; y < (count < 0 ? Rows() : count); ++y) {
            char label[16];
            std::snprintf(label, sizeof label, "R%02d", y);
            MoveTo(1, y + 1);
            Write(label);
        }
    }
    // Screen row y (0-based) as 80 bytes, or with trailing blanks removed.
    std::string Row(int y) const { return RowOf(ScreenTop() + y); }
    std::string Text(int y) const {
        std::string row = Row(y);
        return row.substr(0, row.find_last_not_of(' ') + 1);
    }
    std::string RowOf(int logical) const {
        return std::string(reinterpret_cast<const char*>(CharRow(logical)), kColumns);
    }
    std::string Lines(int y) const {
        return std::string(reinterpret_cast<const char*>(LineRow(ScreenTop() + y)), kColumns);
    }
    uint8_t Attr(int x, int y) const { return AttrRow(ScreenTop() + y)[x]; }

    int bells = 0, clears = 0, highlights = 0, boards = 0;
    std::vector<TWPoint> boardErases;
    std::vector<std::string> lines;
    std::vector<bool> partials;
    std::vector<bool> hangulInput;

protected:
    void OnBell() override { ++bells; }
    void OnScreenCleared() override { ++clears; }
    void OnHighlight() override { ++highlights; }
    void OnBoardRecognised() override { ++boards; }
    void OnBoardEraseToEndOfLine(TWPoint cursor) override { boardErases.push_back(cursor); }
};
