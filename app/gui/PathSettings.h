#pragma once
// The lists of the "폴더 설정" and "소리 설정" dialogs: the five user folders and the sound
// events, each a name with a path (UTF-8). Storing writes only the rows the user changed.
#include <string>
#include <vector>

#include "auto/Registry.h"

struct NamedPath {
    std::string name;
    std::string path;
    bool operator==(const NamedPath&) const = default;
};

// "갈무리 폴더", "보내기 폴더", "받기 폴더", "소리 폴더", "배경무늬 폴더" with their folders.
std::vector<NamedPath> LoadUserFolders(Registry& registry);
// False when a changed folder could not be stored (the others still are).
bool StoreUserFolders(Registry& registry, const std::vector<NamedPath>& loaded,
                      const std::vector<NamedPath>& chosen);

// Every sound event with its file ("" for none).
std::vector<NamedPath> LoadEventSounds(Registry& registry);
bool StoreEventSounds(Registry& registry, const std::vector<NamedPath>& loaded,
                      const std::vector<NamedPath>& chosen);
