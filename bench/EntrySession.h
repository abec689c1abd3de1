#pragma once
// A benchmark's client session: connected through the entry "bench", its view offering every
// line to the pipeline as the tty's view does (no drawing), pumped until the host closes; the
// stream's wall and processor seconds are counted from going online.
#include <chrono>
#include <ctime>
#include <vector>

#include "bench/NoFrame.h"
#include "link/CQuillonDoc.h"
#include "link/SystemLinks.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"

// The screen, offering its lines to the session as the terminal front end's view does.
class LineView : public TWView {
public:
    void OnLineReady(bool partial) override {
        if (doc) doc->LineReady(partial);
    }
    CQuillonDoc* doc = nullptr;
};

inline double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

struct StreamTimes {
    bool online = false;  // false: the session never came online
    double seconds = 0;
    double processor = 0;
};

inline StreamTimes runEntrySession(Registry& registry, SessionFrame& frame) {
    PollEventLoop loop;
    ScriptedPrompt prompt;
    SilentSoundPlayer sound;
    LineView view;
    SystemLinks links(loop, prompt, registry, frame);
    CQuillonDoc doc(SessionContext{loop, prompt, registry, sound, view, links, frame});
    view.doc = &doc;
    StreamTimes times;
    std::chrono::steady_clock::time_point online;
    loop.setIdleHook([&] {
        const bool more = doc.OnIdle();
        if (!more && times.online && !doc.Online()) loop.quit();
        if (!times.online && doc.Online()) {
            online = std::chrono::steady_clock::now();
            times.processor = processorSeconds();
        }
        times.online |= doc.Online();
        return more;
    });
    doc.Start(std::vector<std::string>{"/t", "bench"});
    loop.run();
    loop.setIdleHook(nullptr);
    times.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - online).count();
    times.processor = processorSeconds() - times.processor;
    return times;
}
