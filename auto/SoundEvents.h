#pragma once
// Sound events: each event names a sound file in the store, played through a SoundPlayer.
#include <string>
#include <vector>

#include "auto/Registry.h"
#include "platform/SoundPlayer.h"

// "프로그램 시작", "프로그램 끝", ... in the order the sound settings list them (UTF-8).
const std::vector<std::string>& soundEventNames();

// The sound file (UTF-8 path) stored for `event` (UTF-8 name): the unnamed value of the
// event's ".current" key; "" when none is stored or the stored name is not an absolute path.
std::string EventSoundFile(Registry& registry, const std::string& event);
// Stores it; "" stores no sound. False for a path CP949 cannot hold or a refused write.
bool SetEventSoundFile(Registry& registry, const std::string& event, const std::string& path);

// Plays the file stored for `event` (UTF-8 name) unless sounds are off (`UseSound`) or the
// program is exiting. Asynchronous unless `wait` is set.
void PlayEventSound(Registry& registry, SoundPlayer& player, const std::string& event, bool wait);
