#include "app/gui/PathSettings.h"

#include "auto/Folders.h"
#include "auto/SoundEvents.h"

namespace {

constexpr int kUserFolders[] = {FolderKind::Capture, FolderKind::SendFrom, FolderKind::Download,
                                FolderKind::Media, FolderKind::Picture};

// Calls store(row index, path) for every row whose path changed.
template <class Store>
bool storeChanged(const std::vector<NamedPath>& loaded, const std::vector<NamedPath>& chosen,
                  Store store) {
    bool ok = true;
    for (size_t i = 0; i < chosen.size() && i < loaded.size(); ++i)
        if (chosen[i].path != loaded[i].path && !store(i, chosen[i].path)) ok = false;
    return ok;
}

}  // namespace

std::vector<NamedPath> LoadUserFolders(Registry& registry) {
    std::vector<NamedPath> folders;
    for (int kind : kUserFolders)
        folders.push_back({folderDisplayName(kind), GetFolder(registry, kind)});
    return folders;
}

bool StoreUserFolders(Registry& registry, const std::vector<NamedPath>& loaded,
                      const std::vector<NamedPath>& chosen) {
    return storeChanged(loaded, chosen, [&](size_t i, const std::string& path) {
        return i < std::size(kUserFolders) && SetFolder(registry, kUserFolders[i], path);
    });
}

std::vector<NamedPath> LoadEventSounds(Registry& registry) {
    std::vector<NamedPath> sounds;
    for (const std::string& event : soundEventNames())
        sounds.push_back({event, EventSoundFile(registry, event)});
    return sounds;
}

bool StoreEventSounds(Registry& registry, const std::vector<NamedPath>& loaded,
                      const std::vector<NamedPath>& chosen) {
    return storeChanged(loaded, chosen, [&](size_t i, const std::string& path) {
        return SetEventSoundFile(registry, chosen[i].name, path);
    });
}
