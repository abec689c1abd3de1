#pragma once
// The Go window's two saves, each asking for a file name that starts in the download folder:
// the game record (MGT) and the board picture (BMP). A failed write is told in Korean.
#include <string>

#include "platform/Prompt.h"

class BoardPainter;
class CBadukDoc;

inline constexpr char kPictureSaveFailed[] = "화면을 저장하지 못했습니다.";

// False when the user cancelled or the write failed (and was told).
bool AskAndSaveRecord(Prompt& prompt, const std::string& folder, const CBadukDoc& doc);
bool AskAndSavePicture(Prompt& prompt, const std::string& folder, BoardPainter& painter,
                       const CBadukDoc& doc, bool numbering);
