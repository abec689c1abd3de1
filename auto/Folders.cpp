#include "auto/Folders.h"

#include <filesystem>

#include "auto/ProfileLayout.h"
#include "platform/TextCodec.h"
#include "platform/UserDirs.h"

namespace {

struct UserFolder {
    int kind;
    const char* valueName;    // in section `Folder`
    const char* displayName;  // UTF-8
};

const UserFolder kUserFolders[] = {
    {FolderKind::Capture, "Capture", "갈무리 폴더"},
    {FolderKind::SendFrom, "SendFrom", "보내기 폴더"},
    {FolderKind::Download, "Download", "받기 폴더"},
    {FolderKind::Media, "Media", "소리 폴더"},
    {FolderKind::Picture, "Picture", "배경무늬 폴더"},
};

const UserFolder* userFolder(int kind) {
    for (const UserFolder& folder : kUserFolders)
        if (folder.kind == kind) return &folder;
    return nullptr;
}

std::string defaultUserFolder(int kind) {
    const std::string data = dataHome() + "/quilite";
    switch (kind) {
        case FolderKind::Capture:
            return data + "/cap";
        case FolderKind::SendFrom:
            return data + "/up";
        case FolderKind::Download:
            return downloadDir() + "/quilite";
        case FolderKind::Media:
            return data + "/sounds";
        default:
            return data + "/bitmap";
    }
}

bool ensureFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

std::string desktopFolder() {
    std::string desktop = homeDir() + "/Desktop";
    std::error_code ec;
    return std::filesystem::is_directory(desktop, ec) ? desktop : homeDir();
}

std::string installedPath(Registry& registry) {
    std::optional<RegKey> key = registry.openPath(installKeyPath());
    return key ? storedFilePath(registry.value(*key, "InstalledPath").value_or("")) : "";
}

}  // namespace

std::string GetFolder(Registry& registry, int kind) {
    const UserFolder* folder = userFolder(kind);
    if (!folder) {
        switch (kind) {
            case FolderKind::Desktop:
            case FolderKind::DesktopDirectory:
                return desktopFolder();
            case FolderKind::Personal:
                return homeDir();
            case FolderKind::Program:
            case FolderKind::System:
                return installedPath(registry);
            case FolderKind::Temporary:
                return tempDir();
            default:
                return {};
        }
    }
    std::optional<RegKey> section = openSection(registry, "Folder");
    std::string path =
        section ? storedFilePath(registry.value(*section, folder->valueName).value_or("")) : "";
    if (!path.empty()) {
        ensureFolder(path);
        return path;
    }
    path = defaultUserFolder(kind);
    if (!ensureFolder(path)) path = desktopFolder();
    SetFolder(registry, kind, path);
    return path;
}

bool SetFolder(Registry& registry, int kind, const std::string& path) {
    const UserFolder* folder = userFolder(kind);
    std::optional<std::string> stored = utf8ToCp949(path);
    if (!folder || !stored) return false;
    std::optional<RegKey> section = createSection(registry, "Folder");
    return section && registry.setValue(*section, folder->valueName, *stored);
}

std::string folderDisplayName(int kind) {
    const UserFolder* folder = userFolder(kind);
    return folder ? folder->displayName : "";
}
