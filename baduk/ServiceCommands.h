#pragma once
// The Go services' game commands and the board menu built on them: which command each menu
// item sends and when it is enabled.
#include <string>
#include <string_view>

#include "term/TWView.h"

// 0 for any service but "천리안" (1) and "나우누리" (2); the name in CP949.
int ServiceIndexFromName(std::string_view name);

// The service's string for game command 1..8 (redraw, take back, end of placing, request
// counting, mark dead stones, mark seki, request suspension, quit); empty when it has none.
std::string_view ServiceCommandText(int serviceIndex, int command);

// The board menu's items in order, with their texts (UTF-8, for the widgets); the items from
// Redraw on send game commands 1..8.
enum class BadukMenuItem {
    Numbering,
    SaveRecord,
    SavePicture,
    Redraw,
    TakeBack,
    EndPlacing,
    RequestCounting,
    MarkDead,
    MarkSeki,
    RequestSuspension,
    Quit
};
inline constexpr BadukMenuItem kBadukMenu[] = {BadukMenuItem::Numbering,
                                               BadukMenuItem::SaveRecord,
                                               BadukMenuItem::SavePicture,
                                               BadukMenuItem::Redraw,
                                               BadukMenuItem::TakeBack,
                                               BadukMenuItem::EndPlacing,
                                               BadukMenuItem::RequestCounting,
                                               BadukMenuItem::MarkDead,
                                               BadukMenuItem::MarkSeki,
                                               BadukMenuItem::RequestSuspension,
                                               BadukMenuItem::Quit};
const char* MenuText(BadukMenuItem item);

// Enabled: a command item needs its service string; marking dead stones also needs a point
// under the cursor and a service other than index 1.
bool MenuEnabled(BadukMenuItem item, int serviceIndex, TWPoint hovered);
// What the item sends through VTPuts (the game command items only; empty otherwise). Marking
// dead stones adds " %c %d" for the hovered point.
std::string MenuCommandText(BadukMenuItem item, int serviceIndex, TWPoint hovered);
// A click on a point: "%c %d" with "A" + column and row + 1.
std::string MoveText(TWPoint point);
