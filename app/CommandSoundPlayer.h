#pragma once
// Plays sound files with the desktop's command-line players (paplay, else aplay), detached from
// the terminal. Without either, sounds stay silent.
#include <string>

#include "platform/ProcessLauncher.h"
#include "platform/SoundPlayer.h"

class CommandSoundPlayer : public SoundPlayer {
public:
    // A waited-for sound ends the wait after this long at most.
    static constexpr int kLongestWaitMs = 10000;

    void playFile(const std::string& path, bool wait) override;

private:
    ProcessLauncher launcher_;
};
