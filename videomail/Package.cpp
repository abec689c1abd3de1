#include "videomail/Package.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "videomail/VmiFormat.h"

namespace {

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

}  // namespace

PackageResult BuildPackage(const std::string& templatePath, const std::string& messagePath,
                           const std::string& packagePath) {
    std::string player, message;
    if (!readFile(templatePath, player)) return PackageResult::NoTemplate;
    // A longer template would push the message past the place the player looks for it.
    if (player.size() >= vmi::kPackageOffset) return PackageResult::TemplateTooLarge;
    if (!readFile(messagePath, message)) return PackageResult::CannotWrite;
    std::ofstream out(packagePath, std::ios::binary | std::ios::trunc);
    out << player << std::string(vmi::kPackageOffset - player.size(), '\0') << message;
    out.close();
    if (!out) return PackageResult::CannotWrite;
    // The launcher at its start runs the player on the file itself.
    std::error_code ignored;
    std::filesystem::permissions(packagePath, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add, ignored);
    return PackageResult::Built;
}

std::string packageMessage(PackageResult result) {
    switch (result) {
        case PackageResult::Built:
            return "";
        case PackageResult::NoTemplate:
            return "templete.dat파일이 없습니다.";
        case PackageResult::TemplateTooLarge:
            return "templete.dat파일이 너무 커서 메시지를 붙일 수 없습니다.";
        case PackageResult::CannotWrite:
            return "디스크에 작업을 할 수 없습니다.";
    }
    return "";
}
