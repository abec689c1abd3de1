#include "app/gui/ScreenSettingsStore.h"

#include <algorithm>
#include <filesystem>

#include "auto/CRecordStore.h"
#include "auto/Folders.h"
#include "auto/ProfileLayout.h"
#include "platform/TextCodec.h"
#include "term/FontFiles.h"

namespace {

constexpr int kRecentFiles = 10;

// Recent files that still exist, then the folder's files not among them.
std::vector<std::string> choices(RecentList recent, const std::vector<std::string>& shipped) {
    std::vector<std::string> paths;
    std::error_code ec;
    for (const std::string& stored : recent.load()) {
        const std::string path = storedFilePath(stored);
        if (!path.empty() && std::filesystem::is_regular_file(path, ec)) paths.push_back(path);
    }
    for (const std::string& path : shipped)
        if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
    return paths;
}

bool remember(RecentList recent, const std::string& path) {
    return path.empty() || recent.add(utf8ToCp949Lossy(path));
}

}  // namespace

RecentList recentHangulFonts(Registry& registry) {
    return RecentList(registry, userRootPath() + "\\RecentFont", "File", kRecentFiles);
}

RecentList recentBitmaps(Registry& registry) {
    return RecentList(registry, userRootPath() + "\\RecentBitmap", "File", kRecentFiles);
}

std::vector<int> FontSizeChoices() {
    return {10, 12, 14, 16, 18, 20, 22, 24, 26};
}

std::vector<int> LeadingChoices() {
    return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
}

std::string PixelText(int pixels) {
    return std::to_string(pixels) + " 픽셀";
}

std::vector<std::string> HangulFontChoices(Registry& registry) {
    return choices(recentHangulFonts(registry), HangulFontFiles());
}

std::vector<std::string> BitmapChoices(Registry& registry) {
    return choices(recentBitmaps(registry),
                   FolderFiles(GetFolder(registry, FolderKind::Picture), ".bmp"));
}

bool StoreScreenSettings(Registry& registry, const ScreenSettings& settings) {
    return registry.transaction([&] {
        CRecordStore store(registry);
        return store.SelectKind(RecordKind::Screen) &&
               store.WriteRecord(store.Section(), WriteScreenSettings(settings)) &&
               remember(recentHangulFonts(registry), settings.hanFont16) &&
               remember(recentBitmaps(registry), settings.wallPaper);
    });
}
