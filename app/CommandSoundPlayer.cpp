#include "app/CommandSoundPlayer.h"

#include <filesystem>

void CommandSoundPlayer::playFile(const std::string& path, bool wait) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return;
    ProcessLauncher::Started started;
    for (const char* player : {"paplay", "aplay"}) {
        started = launcher_.start({player, "--", path}, "", true);
        if (started.pid > 0) break;
    }
    if (wait && started.pid > 0) launcher_.wait(started.pid, kLongestWaitMs);
}
