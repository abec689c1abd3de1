#pragma once
// A short game drawn as a Go service draws it, with a capture, for the board tests.
#include <string>

#include "tools/demohost/GoScreen.h"

namespace GameScript {

// CP949 texts of the side and bottom areas.
inline const std::string kSide = "\xC8\xE6: guest";              // "흑: guest"
inline const std::string kBottom = "\xB9\xE9 \xC2\xF7\xB7\xCA";  // "백 차례"

// The opening screen, then nine moves; the last one captures the black stone on D4.
inline std::string Stream(GoScreen::Game& game) {
    std::string out =
        "\x1b[2J" + GoScreen::Board(game.Stones(), game.Last(), {kSide}, {"", kBottom});
    using P = GoScreen::Point;
    const uint8_t B = GoScreen::kBlack, W = GoScreen::kWhite;
    out += game.Play(P{3, 3}, B);
    out += game.Play(P{2, 3}, W);
    out += game.Play(P{15, 15}, B);
    out += game.Play(P{4, 3}, W);
    out += game.Play(P{15, 3}, B);
    out += game.Play(P{3, 2}, W);
    out += game.Play(P{3, 15}, B);
    out += game.Play(P{3, 4}, W, {P{3, 3}});
    out += game.Play(P{9, 9}, B);
    return out;
}

}  // namespace GameScript
