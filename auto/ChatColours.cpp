#include "auto/ChatColours.h"

int ColourMenuColour(int entry) {
    static constexpr int kMenu[ChatColour::MenuEntries] = {15, 12, 10, 9,  0, 4, 2, 1,
                                                           7,  14, 11, 13, 8, 6, 3, 5};
    return entry >= 0 && entry < ChatColour::MenuEntries ? kMenu[entry] : ChatColour::None;
}

int NextCycleColour(int colour) {
    switch (colour) {
        case ChatColour::None:
            return 10;
        case ChatColour::Reversed:
            return ChatColour::None;
        case 11:
            return 12;
        case 12:
        case 13:
            return 14;
        case 14:
            return ChatColour::Reversed;
        case 15:
            return 15;
        default:
            return colour < 10 ? 10 : 11;  // 10 goes on to 11
    }
}
