#pragma once
// The text the copy commands put on the clipboard: rows of the character plane as CP949 with
// CR LF, without trailing blanks, and its UTF-8 form for the clipboard.
#include <string>
#include <string_view>

#include "term/TWView.h"

// Status texts of the copy commands (UTF-8).
inline constexpr char kCopyScreenStatus[] = "현재 화면 내용을 클립보드에 저장했습니다.";
inline constexpr char kCopyScrollbackStatus[] = "스크롤 버퍼 내용 전체를 클립보드에 저장했습니다.";
inline constexpr char kClipboardOpenFailed[] = "클립보드를 열 수 없습니다.";

// Columns x1 (inclusive) to x2 (exclusive) from logical row y1 to logical row y2. One row: its
// characters up to the last non-blank one, nothing for a single blank. Several rows: the first
// from x1, the middle ones whole, the last up to x2, each without trailing blanks (a blank row
// gives one space) and followed by CR LF. An end on the second half of a double-byte character
// moves to the start of the character.
std::string CopySelection(const TWView& view, int x1, int y1, int x2, int y2);
// The screen rows, and every row kept (history and screen), copied the same way.
std::string CopyScreen(const TWView& view);
std::string CopyScrollback(const TWView& view);

// CP949 copy text as UTF-8 for the clipboard: the DEC graphics codes become the box characters
// they are drawn as; bytes that do not convert become U+FFFD.
std::string ClipboardText(std::string_view cp949);
