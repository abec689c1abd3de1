#include "auto/SoundEvents.h"

#include "auto/CSettingsSection.h"
#include "auto/Folders.h"
#include "auto/ProfileLayout.h"
#include "auto/ProgramExit.h"
#include "platform/TextCodec.h"

const std::vector<std::string>& soundEventNames() {
    static const std::vector<std::string> names = {
        "프로그램 시작",    "프로그램 끝",      "연결",
        "연결 끊김",        "파일 송수신 성공", "파일 송수신 실패",
        "Wisp 마우스 선택", "아이콘 선택",      "문자열 찾기 성공",
        "쪽지 도착"};
    return names;
}

namespace {

// HKEY_CURRENT_USER\AppEvents\Schemes\Apps\<title>\<event>\.current; nothing for an event name
// CP949 cannot hold.
std::optional<std::string> currentKeyPath(const std::string& event) {
    std::optional<std::string> name = utf8ToCp949(event);
    if (!name) return std::nullopt;
    return soundEventsPath() + "\\" + *name + "\\.current";
}

}  // namespace

std::string EventSoundFile(Registry& registry, const std::string& event) {
    const std::optional<std::string> path = currentKeyPath(event);
    std::optional<RegKey> key = path ? registry.openPath(*path) : std::nullopt;
    return key ? storedFilePath(registry.value(*key, "").value_or("")) : "";
}

bool SetEventSoundFile(Registry& registry, const std::string& event, const std::string& path) {
    const std::optional<std::string> keyPath = currentKeyPath(event);
    const std::optional<std::string> file = utf8ToCp949(path);
    if (!keyPath || !file) return false;
    std::optional<RegKey> key = registry.createPath(*keyPath);
    return key && registry.setValue(*key, "", *file);
}

void PlayEventSound(Registry& registry, SoundPlayer& player, const std::string& event, bool wait) {
    if (programIsExiting() || CSettingsSection(registry, "Settings").GetInt("UseSound", 1) == 0)
        return;
    const std::string file = EventSoundFile(registry, event);
    if (!file.empty()) player.playFile(file, wait);
}
