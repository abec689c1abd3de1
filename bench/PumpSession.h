#pragma once
// Runs a benchmark's session: connected to a host on a loopback port and pumped until the host
// has closed and everything it sent is on the screen.
#include <string>

#include "bench/NoFrame.h"
#include "link/CQuillonDoc.h"
#include "link/SystemLinks.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "platform/SoundPlayer.h"
#include "term/TWView.h"

// A session with no window, no sound and nobody to answer its questions.
struct HeadlessSession {
    explicit HeadlessSession(Registry& registry)
        : links(loop, prompt, registry, frame),
          doc(SessionContext{loop, prompt, registry, sound, view, links, frame}) {}

    PollEventLoop loop;
    ScriptedPrompt prompt;
    SilentSoundPlayer sound;
    TWView view;
    NoFrame frame;
    SystemLinks links;
    CQuillonDoc doc;
};

// False when the session never came online.
inline bool pumpUntilHostCloses(PollEventLoop& loop, CQuillonDoc& doc, int port) {
    bool wasOnline = false;
    loop.setIdleHook([&] {
        const bool more = doc.OnIdle();
        if (!more && wasOnline && !doc.Online()) loop.quit();
        wasOnline |= doc.Online();
        return more;
    });
    doc.Start({"127.0.0.1", std::to_string(port)});
    loop.run();
    loop.setIdleHook(nullptr);
    return wasOnline;
}
