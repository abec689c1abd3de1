#include "auto/FirstRunSetup.h"

#include <filesystem>

#include "auto/ProfileLayout.h"
#include "platform/TextCodec.h"
#include "platform/UserDirs.h"

namespace {

bool hasDefaultProfile(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_regular_file(folder + "/regorg.bak", ec);
}

// Returns the installer's name (UTF-8), or nothing when the key cannot be written.
std::optional<std::string> recordInstallation(Registry& registry, const std::string& dataFolder) {
    std::optional<std::string> installer;
    const bool committed = registry.transaction([&] {
        std::optional<RegKey> key = registry.createPath(installKeyPath());
        if (!key) return false;
        std::optional<std::string> stored = registry.value(*key, "Installer");
        if (!stored) {
            stored = utf8ToCp949(userName()).value_or("");
            if (!registry.setValue(*key, "Installer", *stored)) return false;
        }
        std::optional<std::string> path = utf8ToCp949(dataFolder);
        if (path && !registry.setValue(*key, "InstalledPath", *path)) return false;
        installer = cp949ToUtf8(*stored).value_or(*stored);
        return true;
    });
    return committed ? installer : std::nullopt;
}

}  // namespace

FirstRunResult runFirstRunSetup(Registry& registry, Prompt& prompt, const std::string& dataFolder) {
    FirstRunResult result;
    std::optional<std::string> installer = recordInstallation(registry, dataFolder);
    if (registry.openPath(userRootPath())) return result;
    result.ran = true;

    prompt.tell("사용자 " + userName() + "에 대한 " + cp949ToUtf8(appTitle()).value() +
                    " 사용자 환경 정보가 없습니다.(설치한 사용자: " +
                    installer.value_or("(정상적으로 설치되지 않음)") +
                    ")\n\n프로그램 설치시에 보관해 놓은 기본 사용자 환경 정보를 설치합니다.\n"
                    "(이 프로그램은 복수 사용자 설정을 지원합니다)",
                PromptIcon::Information);

    std::string file =
        dataFolder + (dataFolder.empty() || dataFolder.back() != '/' ? "/" : "") + "regorg.bak";
    if (!hasDefaultProfile(dataFolder)) {
        result.proceed =
            prompt.ask("기본 사용자 환경 정보가 기록된 " + file +
                           " 파일을 찾을 수 없습니다.\n\n프로그램 수행을 "
                           "계속하시겠습니까?",
                       PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes;
        return result;
    }
    result.import = importRegFile(registry, file);
    result.imported = result.import.ok();
    if (!result.imported)
        prompt.tell("기본 사용자 환경 정보 " + file + "을(를) 설치하지 못했습니다.\n(" +
                        result.import.error + ")\n\n빈 사용자 환경으로 시작합니다.",
                    PromptIcon::Warning);
    return result;
}
