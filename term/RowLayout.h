#pragma once
// How a row of the character plane splits into characters for drawing, and the box characters
// the stored DEC graphics codes stand for.
#include <cstdint>

struct RowItem {
    int column;
    int width;      // cells: 1, or 2 for a double-byte character
    uint8_t lead;   // the byte of a one-cell character
    uint8_t trail;  // 0 for a one-cell character
};

// From column 0: a byte >= 0x80 followed by anything but a space is a double-byte character;
// a byte >= 0x80 followed by a space, and every byte below 0x80, is a one-cell character; a
// byte >= 0x80 in the last column ends the row undrawn. Returns the number of items (at most 80).
int LayoutRow(const uint8_t* chars, RowItem* items);

// The box-drawing character a stored DEC special graphics code is drawn as (the interpreter
// stores line pieces as control codes 1..0x19), or 0 for other bytes.
char32_t DecGraphicsCharacter(uint8_t code);

// The Unicode character a stored byte (code < 0x100) or double-byte pair (lead << 8 | trail)
// shows, or 0 for none: lone high bytes, control codes other than the DEC graphics pieces, and
// pairs CP949 does not define.
char32_t CellCharacter(uint16_t code);
