#include "auto/SoundEvents.h"

#include "auto/CSettingsSection.h"
#include "auto/Folders.h"
#include "auto/ProfileLayout.h"
#include "auto/ProgramExit.h"
#include "platform/TextCodec.h"

const std::vector<std::string>& soundEventNames() {
    static const std::vector<std::string> names = {
        "프로그램 시작",     "프로그램 끝",       "연결",           "연결 끊김",
        "파일 송수신 성공", "파일 송수신 실패", "Wisp 마우스 선택", "아이콘 선택",
        "문자열 찾기 성공", "쪽지 도착"};
    return names;
}

void PlayEventSound(Registry& registry, SoundPlayer& player, const std::string& event, bool wait) {
    if (programIsExiting() || CSettingsSection(registry, "Settings").GetInt("UseSound", 1) == 0)
        return;
    std::optional<std::string> name = utf8ToCp949(event);
    if (!name) return;
    std::optional<RegKey> key = registry.openPath(soundEventsPath() + "\\" + *name + "\\.current");
    std::string file = key ? storedFilePath(registry.value(*key, "").value_or("")) : "";
    if (!file.empty()) player.playFile(file, wait);
}
