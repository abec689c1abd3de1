#include "app/tty/TtyPictures.h"

#include <ctime>
#include <filesystem>
#include <fstream>

#include "auto/Folders.h"

namespace {

std::string pictureExtension(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[2] = {};
    in.read(head, 2);
    if (head[0] == '\xff' && head[1] == '\xd8') return ".jpg";
    if (head[0] == '\x89' && head[1] == 'P') return ".png";
    if (head[0] == 'B' && head[1] == 'M') return ".bmp";
    return ".bin";
}

}  // namespace

void TtyPictures::OpenDImage(std::unique_ptr<DImageDoc> doc) {
    doc_ = std::move(doc);
    doc_->SetObserver(this);
    status_("그림을 받는 중입니다...");
    if (doc_->State() == DImageDoc::kFinished) OnTransferEnded();
}

std::string TtyPictures::KeptName(const std::string& folder, const std::string& receivedPath) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "picture-%Y%m%d-%H%M%S", std::localtime(&now));
    const std::string ext = pictureExtension(receivedPath);
    std::string name = folder + "/" + stamp + ext;
    for (int n = 2; std::filesystem::exists(name); ++n)
        name = folder + "/" + stamp + "-" + std::to_string(n) + ext;
    return name;
}

// The document finishes inside its own pump: it is let go from the loop afterwards.
void TtyPictures::OnTransferEnded() {
    const std::string received = doc_ ? doc_->FilePath() : "";
    std::error_code error;
    const bool got = !received.empty() && std::filesystem::file_size(received, error) > 0;
    if (got) {
        const std::string kept = KeptName(GetFolder(registry_, FolderKind::Download), received);
        std::filesystem::copy_file(received, kept, error);
        status_(error ? "그림을 저장하지 못했습니다."
                      : "그림을 받았습니다: " + std::filesystem::path(kept).filename().string());
    } else {
        status_("그림을 받지 못했습니다.");
    }
    loop_.post([this] { doc_.reset(); });
}
