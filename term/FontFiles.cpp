#include "term/FontFiles.h"

#include <algorithm>
#include <filesystem>

#include "platform/DataFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr char kHangulFont[] = "Hangul.hft";
constexpr char kRasterFace[] = "raster8x16.qrf";

}  // namespace

std::string FontsFolder() {
    return dataFolder() + "/Fonts";
}

std::string DefaultHangulFontPath() {
    return FontsFolder() + "/" + kHangulFont;
}

std::string RasterFacePath() {
    return FontsFolder() + "/" + kRasterFace;
}

std::vector<std::string> HangulFontFiles() {
    return FolderFiles(FontsFolder(), ".hft");
}

std::vector<std::string> FolderFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (ext == extension && !entry.is_directory(ec)) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}
