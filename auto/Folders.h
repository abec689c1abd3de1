#pragma once
// The folders the program files things in. Paths handed in and out are UTF-8 file-system
// paths; the store keeps them as CP949 text.
#include <string>

#include "auto/Registry.h"
#include "platform/StoredValues.h"

namespace FolderKind {
constexpr int Desktop = 0;
constexpr int Personal = 5;
constexpr int DesktopDirectory = 0x10;
constexpr int Capture = 256;   // 갈무리 폴더
constexpr int SendFrom = 257;  // 보내기 폴더
constexpr int Download = 258;  // 받기 폴더
constexpr int Media = 259;     // 소리 폴더
constexpr int Picture = 260;   // 배경무늬 폴더
constexpr int Program = 512;   // the installed data folder
constexpr int System = 513;    // the installed data folder as well
constexpr int Temporary = 514;
}  // namespace FolderKind

// The folder of `kind`. A user folder that is stored empty (or not absolute) gets its default
// under the XDG data or download folder, which is created and stored. Unknown kinds give "".
std::string GetFolder(Registry& registry, int kind);
// Stores a user folder; false for other kinds, for a path CP949 cannot hold, or when the
// write fails.
bool SetFolder(Registry& registry, int kind, const std::string& path);
// "갈무리 폴더" and the others (UTF-8); empty for kinds that are not user folders.
std::string folderDisplayName(int kind);
