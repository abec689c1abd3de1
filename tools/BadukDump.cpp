#include "tools/BadukDump.h"

#include "baduk/BadukDoc.h"
#include "baduk/BadukInit.h"
#include "baduk/BoardGeometry.h"
#include "baduk/ServiceCommands.h"
#include "platform/TextCodec.h"
#include "term/TWServices.h"
#include "tools/JsonEscape.h"

namespace {

std::string quoted(std::string_view cp949) {
    while (!cp949.empty() && cp949.back() == ' ')
        cp949.remove_suffix(1);
    return "\"" + jsonEscape(cp949ToUtf8Lossy(cp949)) + "\"";
}

template <typename Item>
std::string list(int count, Item item) {
    std::string out = "[";
    for (int i = 0; i < count; ++i)
        out += (i ? "," : "") + item(i);
    return out + "]";
}

}  // namespace

BadukDump::BadukDump(std::string service, bool mode)
    : service_(std::move(service)),
      view_([this] { return service_; }, mode),
      emulator_(&view_, &link_) {
    view_.SetRows(24);
    SetBadukHost({nullptr, nullptr, [this](const char* text) {
                      VTPuts(text, [this](std::string_view bytes) {
                          link_.Write(bytes.data(), static_cast<int>(bytes.size()));
                      });
                  }});
}

BadukDump::~BadukDump() {
    BadukClose();
    SetBadukHost({});
}

void BadukDump::Feed(std::string_view bytes) {
    link_.Feed(std::string(bytes));
    while (link_.InputCount() > 0)
        emulator_.GetChar();
}

const CBadukDoc* BadukDump::Doc() const {
    return CBadukDoc::Current();
}

std::string BadukDump::ClickText(int px, int py, int b) {
    TWPoint point = BoardGeometry::PixelToPoint(px, py, b);
    return point.x < 0 ? std::string() : MoveText(point);
}

std::string BadukDump::Json(int cellSize, const std::vector<std::pair<int, int>>& clicks) const {
    const CBadukDoc* doc = Doc();
    if (!doc) return "{\"board\":null}\n";
    auto number = [](int n) { return std::to_string(n); };
    std::string out = "{\"service\":" + number(doc->ServiceIndex());
    out += ",\"board\":" + list(CBadukDoc::kSize, [doc](int row) {
               std::string line;
               for (int column = 0; column < CBadukDoc::kSize; ++column)
                   line += ".XO"[doc->StoneAt(column, row)];
               return "\"" + line + "\"";
           });
    out += ",\"numbers\":" + list(CBadukDoc::kSize, [doc, number](int row) {
               return list(CBadukDoc::kSize,
                           [=](int column) { return number(doc->MoveNumber(column, row)); });
           });
    out += ",\"moves\":" + list(static_cast<int>(doc->Moves().size()),
                                [doc](int i) { return "\"" + doc->Moves()[i] + "\""; });
    out += ",\"counter\":" + number(doc->MoveCounter());
    out += ",\"last\":[" + number(doc->LastMove().x) + "," + number(doc->LastMove().y) + "]";
    out += ",\"side\":" +
           list(CBadukDoc::kSideLines, [doc](int i) { return quoted(doc->SideLine(i)); });
    out += ",\"bottom\":" +
           list(CBadukDoc::kBottomLines, [doc](int i) { return quoted(doc->BottomLine(i)); });
    out +=
        ",\"clicks\":" + list(static_cast<int>(clicks.size()), [&](int i) {
            return "\"" + jsonEscape(ClickText(clicks[i].first, clicks[i].second, cellSize)) + "\"";
        });
    return out + "}\n";
}
