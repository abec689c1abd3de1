#include "image/PictureCommands.h"

#include <filesystem>

#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "platform/UserDirs.h"

namespace {

constexpr int kGsettingsWaitMs = 3000;

std::string fileTitle(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

bool savePictureFile(ImageDoc& doc, Prompt& prompt) {
    FileRequest request;
    request.kind = FileDialogKind::Save;
    request.caption = "화상 저장";
    request.filter = "JPG 파일|*.JPG|모든 파일|*.*|";
    request.defaultExtension = "JPG";
    request.fileName = doc.Title();
    const FileReply reply = prompt.askFile(request);
    if (reply.answer != FileAnswer::Accepted || reply.paths.empty()) return false;
    const std::string& target = reply.paths.front();
    std::error_code error;
    if (doc.FilePath().empty() ||
        !std::filesystem::copy_file(doc.FilePath(), target,
                                    std::filesystem::copy_options::overwrite_existing, error)) {
        prompt.tell(target + "\n파일을 저장할 수 없습니다.", PromptIcon::Error);
        return false;
    }
    doc.SetTitle(fileTitle(target));
    return true;
}

std::string wallpaperPath() {
    return dataHome() + "/quilite/quilite-wallpaper.bmp";
}

bool setWallpaper(ImageDoc& doc, Prompt& prompt, ProcessLauncher& launcher) {
    const Surface* picture = doc.Picture();
    if (!picture || picture->empty()) return false;
    const std::string path = wallpaperPath();
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    HDIB dib = BitmapToDIB(*picture, {});
    const int saved = SaveDIB(dib, path);
    DestroyDIB(dib);
    if (saved != kSaveOk) {
        prompt.tell(path + "\n파일을 저장할 수 없습니다.", PromptIcon::Error);
        return false;
    }
    if (ProcessLauncher::programFound("gsettings")) {
        const std::string uri = "file://" + path;
        bool set = true;
        for (const char* key : {"picture-uri", "picture-uri-dark"}) {
            const int pid =
                launcher.start({"gsettings", "set", "org.gnome.desktop.background", key, uri}).pid;
            const int status = pid > 0 ? launcher.wait(pid, kGsettingsWaitMs) : -1;
            if (std::string(key) == "picture-uri") set = status == 0;
        }
        if (set) return true;
    }
    prompt.tell("이 데스크톱에서는 바탕 화면 그림을 바꿀 수 없습니다.\n그림은 " + path +
                    "에 저장되었습니다.",
                PromptIcon::Information);
    return false;
}
