#pragma once
// Plays the sound files that sound events name. The GUI supplies a real player; tools and tests
// use the silent one.
#include <string>

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Plays a sound file without interrupting one already playing; returns at once unless
    // `wait` asks to block until the sound has ended.
    virtual void playFile(const std::string& path, bool wait) = 0;
};

class SilentSoundPlayer : public SoundPlayer {
public:
    void playFile(const std::string&, bool) override {}
};
