#pragma once
// Sound events: each event names a sound file in the store, played through a SoundPlayer.
#include <string>
#include <vector>

#include "auto/Registry.h"
#include "platform/SoundPlayer.h"

// "프로그램 시작", "프로그램 끝", ... in the order the sound settings list them (UTF-8).
const std::vector<std::string>& soundEventNames();

// Plays the file stored for `event` (UTF-8 name) unless sounds are off (`UseSound`) or the
// program is exiting. Asynchronous unless `wait` is set.
void PlayEventSound(Registry& registry, SoundPlayer& player, const std::string& event, bool wait);
