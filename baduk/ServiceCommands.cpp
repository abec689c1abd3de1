#include "baduk/ServiceCommands.h"

#include <cstdio>

namespace {

constexpr std::string_view kCommands[3][8] = {
    {"/Z", "/RE", "/EP", "/CO", "/D", "/BI", "/A", "/P"},
    {"/2", "/1", "", "/7", "", "", "", "/Q\r"},
    {"/Z", "/AG", "", "/G", "/D", "/BIG", "", "/P"},
};

// "천리안" and "나우누리" in CP949.
constexpr std::string_view kChollian = "\xC3\xB5\xB8\xAE\xBE\xC8";
constexpr std::string_view kNownuri = "\xB3\xAA\xBF\xEC\xB4\xA9\xB8\xAE";

bool isCommandItem(BadukMenuItem item) {
    return item >= BadukMenuItem::Redraw;
}

int commandOf(BadukMenuItem item) {
    return static_cast<int>(item) - static_cast<int>(BadukMenuItem::Redraw) + 1;
}

bool onBoard(TWPoint p) {
    return p.x >= 0 && p.x < 19 && p.y >= 0 && p.y < 19;
}

}  // namespace

int ServiceIndexFromName(std::string_view name) {
    if (name == kChollian) return 1;
    if (name == kNownuri) return 2;
    return 0;
}

std::string_view ServiceCommandText(int serviceIndex, int command) {
    if (serviceIndex < 0 || serviceIndex > 2) serviceIndex = 0;
    return command < 1 || command > 8 ? std::string_view() : kCommands[serviceIndex][command - 1];
}

const char* MenuText(BadukMenuItem item) {
    static const char* const texts[] = {"번호보기(&V)", "기보저장(&S)...", "화면 저장(&A)...",
                                        "화면 재출력",  "한수 물리기",     "착수종료",
                                        "계가신청",     "사석지정",        "빅지정",
                                        "대국중지신청", "바둑종료"};
    return texts[static_cast<int>(item)];
}

bool MenuEnabled(BadukMenuItem item, int serviceIndex, TWPoint hovered) {
    if (!isCommandItem(item)) return true;
    if (ServiceCommandText(serviceIndex, commandOf(item)).empty()) return false;
    if (item == BadukMenuItem::MarkDead) return onBoard(hovered) && serviceIndex != 1;
    return true;
}

std::string MenuCommandText(BadukMenuItem item, int serviceIndex, TWPoint hovered) {
    if (!isCommandItem(item)) return {};
    std::string text(ServiceCommandText(serviceIndex, commandOf(item)));
    if (item == BadukMenuItem::MarkDead && onBoard(hovered)) text += " " + MoveText(hovered);
    return text;
}

std::string MoveText(TWPoint point) {
    char text[16];
    std::snprintf(text, sizeof text, "%c %d", 'A' + point.x, point.y + 1);
    return text;
}
