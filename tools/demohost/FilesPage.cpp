// The download room "자료실 (FILES)": the files of the host's files folder, numbered; choosing
// one sends it by ZMODEM at once, "up" receives files from the user.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "tools/demohost/DemoPages.h"
#include "tools/demohost/DemoSession.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> OfferedFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file(ec)) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

void ShowFiles(DemoSession& s) {
    const std::vector<std::string> files = OfferedFiles(s.Host().filesFolder);
    s.Show(
        "\n 번호  크기(바이트)  파일 이름\n"
        " ───────────────────────────────────────\n");
    std::error_code ec;
    for (size_t i = 0; i < files.size() && i < 15; ++i) {
        std::string size = std::to_string(fs::file_size(files[i], ec));
        size.insert(0, size.size() < 12 ? 12 - size.size() : 0, ' ');
        // File names are UTF-8 on this system; the page text is UTF-8 too.
        s.Show("  " + std::to_string(i + 1) + "  " + size + "  " +
               fs::path(files[i]).filename().string() + "\n");
    }
    s.Show("\n 번호: 받기 (ZMODEM으로 바로 시작됩니다)   " + s.Word("자료 올리기") +
           ": 올리기   p: 위로\n\n");
    s.MenuPrompt();
}

bool FilesCommand(DemoSession& s, const std::string& line) {
    const auto [word, argument] = SplitCommand(line);
    const std::vector<std::string> files = OfferedFiles(s.Host().filesFolder);
    const std::string choice = word == s.Word("게시물 받기") ? argument : word;
    const int number = std::atoi(choice.c_str());
    if (number >= 1 && number <= static_cast<int>(files.size()) &&
        choice == std::to_string(number)) {
        s.SendFile(files[number - 1]);
        return true;
    }
    if (word == s.Word("자료 올리기")) {
        s.ReceiveFiles();
        return true;
    }
    return false;
}
