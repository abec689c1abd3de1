#pragma once
// What a line from the modem means to a dial in progress: the result words, compared at the
// start of the line, case-sensitively, in this order: "NO DIAL", "ERROR", the success words
// "CONNECT", "CARRIER", "PROTOCOL", "COMPRESS", "AUTOSTREAM", "RINGBACK", then "BUSY", "NO " and
// a whole line "OK" as failures. A line must hold the whole word, so "CONNEC" is nothing. Any
// other line is no result: the dial goes on waiting (RINGING, a late echo).
#include <string_view>

enum class DialResult { None, NoDialTone, Error, Connected, Failed };

// The line is cut at its first CR or LF; an empty line is no result.
DialResult ClassifyDialResult(std::string_view line);
