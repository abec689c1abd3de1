#pragma once
// The game record as an MGT file: the move list between a comment header and the closing
// parenthesis, CR LF line ends. Loading is not supported.
#include <string>
#include <vector>

std::string MgtText(const std::vector<std::string>& moves);
// Writes a temporary file beside path and renames it over path, so a failed write leaves no
// cut record under the name. An empty string, or the Korean message to show.
std::string SaveMgt(const std::string& path, const std::vector<std::string>& moves);

inline constexpr char kMgtSaveFailed[] = "기보를 저장하지 못했습니다.";
