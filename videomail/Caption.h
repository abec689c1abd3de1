#pragma once
// Caption records: the typed text in CP949, at most 255 bytes, never cut inside a character;
// an emptied caption is the single byte ".".
#include <string>
#include <string_view>

constexpr size_t kMaxCaptionBytes = 255;

// The record data for a caption typed as UTF-8 (characters CP949 lacks become '?').
std::string captionRecordData(std::string_view utf8);
// The first 255 bytes of CP949 text, less a lead byte left without its trail byte.
std::string cutCaption(std::string_view cp949);
