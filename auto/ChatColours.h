#pragma once
// Participant colours: -1 leaves a participant's lines alone, 0-15 is a foreground palette
// index, -2 shows the lines reversed.
namespace ChatColour {
constexpr int None = -1;
constexpr int Reversed = -2;
constexpr int MenuEntries = 16;
}  // namespace ChatColour

// The palette index of entry n (0-15) of the colour menu.
int ColourMenuColour(int entry);
// The colour cycle: -1, 10, 11, 12, 14, -2 and round again; below 10 goes to 10, 13 to 14,
// 15 stays.
int NextCycleColour(int colour);
