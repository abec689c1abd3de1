#pragma once
// The program's start and end, the same for the window and for the tty front end. Open runs,
// in order: the profile store with its first-run set-up, the count of running copies and the
// start sound. CreateSession then makes the links and the session document for the window that
// shows it. End destroys the session and plays the end sound; the caller then stores what the
// window keeps and sets the exiting flag.
#include <memory>
#include <string>

#include "app/AppSessionHooks.h"
#include "app/CommandSoundPlayer.h"
#include "app/InstanceCounter.h"
#include "auto/Registry.h"
#include "link/CQuillonDoc.h"
#include "link/SystemLinks.h"
#include "term/ScreenSettings.h"

class AppStartup {
public:
    explicit AppStartup(Prompt& prompt) : prompt_(prompt) {}
    ~AppStartup();
    AppStartup(const AppStartup&) = delete;
    AppStartup& operator=(const AppStartup&) = delete;

    // False when the program must not go on: Error() says why, or is empty when the user chose
    // to end it during the first-run set-up.
    bool Open();
    const std::string& Error() const { return error_; }

    Registry& registry() { return *registry_; }
    InstanceCounter& copies() { return *copies_; }
    SoundPlayer& sound() { return sound_; }
    // The "Screen" record of the store.
    ScreenSettings StoredScreenSettings();

    CQuillonDoc& CreateSession(EventLoop& loop, TWView& view, SessionFrame& frame);
    CQuillonDoc* Session() { return doc_.get(); }
    // Where the front end plugs its views in (the dialler's).
    AppSessionHooks& Hooks() { return hooks_; }
    void End();

private:
    Prompt& prompt_;
    std::string error_;
    std::unique_ptr<Registry> registry_;
    std::unique_ptr<InstanceCounter> copies_;
    CommandSoundPlayer sound_;
    AppSessionHooks hooks_{prompt_};
    std::unique_ptr<SystemLinks> links_;
    std::unique_ptr<CQuillonDoc> doc_;
};
