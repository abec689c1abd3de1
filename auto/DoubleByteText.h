#pragma once
// Host text (CP949) walked by characters: a lead byte and its trail form one unit, so that
// searches and rewrites never split a Korean character.
#include <cstddef>
#include <string>
#include <string_view>

// The length (1 or 2) of the character starting at byte i; a high byte without a trail that
// pairs with it is a unit of its own.
size_t CharLength(std::string_view text, size_t i);
// True when every high byte starts a pair the terminal accepts as one character.
bool HasWholePairs(std::string_view text);
// The text without its leading and trailing ASCII spaces (a screen row's padding).
std::string TrimSpaces(std::string_view text);
