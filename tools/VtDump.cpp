#include "tools/VtDump.h"

#include <cstdio>

#include "platform/TextCodec.h"
#include "tools/JsonEscape.h"

namespace {

std::string hex(const uint8_t* bytes, size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(n * 2);
    for (size_t i = 0; i < n; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

void appendRow(std::string& out, const TWView& view, int row) {
    const uint8_t* chars = view.CharRow(row);
    size_t length = TWView::kColumns;
    while (length > 0 && chars[length - 1] == ' ')
        --length;
    std::string_view text(reinterpret_cast<const char*>(chars), length);
    out += "{\"chars\":\"";
    out += hex(chars, TWView::kColumns);
    out += "\",\"attrs\":\"";
    out += hex(view.AttrRow(row), TWView::kColumns);
    out += "\",\"lines\":\"";
    out += hex(view.LineRow(row), TWView::kColumns);
    out += "\",\"flag\":";
    out += std::to_string(view.RowFlag(row));
    out += ",\"text\":\"";
    out += jsonEscape(cp949ToUtf8Lossy(text));
    out += "\"}";
}

void appendRows(std::string& out, const TWView& view, int first, int count) {
    out += '[';
    for (int i = 0; i < count; ++i) {
        if (i) out += ',';
        appendRow(out, view, first + i);
    }
    out += ']';
}

}  // namespace

VtDump::VtDump(const VtDumpOptions& options) : emulator_(&view_, &link_) {
    view_.SetRows(options.rows);
    view_.SetJohabDisplay(options.johab);
    emulator_.SetJohabSend(options.johab);
    emulator_.SetAnswerEcho(options.echo);
}

void VtDump::Feed(std::string_view bytes) {
    link_.Feed(std::string(bytes));
    while (link_.InputCount() > 0) {
        int result = emulator_.GetChar();
        if (result < 0 && result != kTWNoData) events_.push_back(result);
    }
}

std::string VtDump::Json() const {
    const TWView& v = view_;
    const std::string& replies = link_.Output();
    auto number = [](int n) { return std::to_string(n); };
    std::string out = "{\"rows\":" + number(v.Rows());
    out += ",\"cursor\":[" + number(v.Cursor().x) + "," + number(v.Cursor().y) + "]";
    out += std::string(",\"caret\":") + (v.CaretVisible() ? "true" : "false");
    out += ",\"attr\":" + number(v.Attribute());
    out += ",\"region\":[" + number(v.RegionTop()) + "," + number(v.RegionBottom()) + "]";
    out += ",\"scrolled\":" + number(v.ScrolledSinceClear());
    out += ",\"screen\":";
    appendRows(out, v, v.ScreenTop(), v.Rows());
    out += ",\"history\":";
    appendRows(out, v, v.ScreenTop() - v.HistoryRows(), v.HistoryRows());
    out += ",\"replies\":\"";
    out += hex(reinterpret_cast<const uint8_t*>(replies.data()), replies.size());
    out += "\",\"events\":[";
    for (size_t i = 0; i < events_.size(); ++i) {
        if (i) out += ',';
        out += number(events_[i]);
    }
    out += "]}";
    return out;
}
