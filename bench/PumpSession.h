#pragma once
// Runs a benchmark's session: connected to a host on a loopback port and pumped until the host
// has closed and everything it sent is on the screen.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/NoFrame.h"
#include "link/CQuillonDoc.h"
#include "link/SystemLinks.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "platform/SoundPlayer.h"
#include "term/TWView.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/PeerProcess.h"

// A session with no window, no sound and nobody to answer its questions; View is the screen
// buffer (a TWView or a class derived from it that is made without arguments).
template <typename View = TWView>
struct HeadlessSessionWith {
    explicit HeadlessSessionWith(Registry& registry)
        : links(loop, prompt, registry, frame),
          doc(SessionContext{loop, prompt, registry, sound, view, links, frame}) {}

    PollEventLoop loop;
    ScriptedPrompt prompt;
    SilentSoundPlayer sound;
    View view;
    NoFrame frame;
    SystemLinks links;
    CQuillonDoc doc;
};
using HeadlessSession = HeadlessSessionWith<>;

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

// Seconds a client program (`client` followed by the port and a fresh profile in `folder`)
// takes from its start to its end, while a host on a loopback port sends it `stream`.
inline double timeSessionClient(std::vector<std::string> client, const std::string& stream,
                                const std::string& folder) {
    LoopbackListener listener;
    const std::string profile = folder + "/profile.db";
    std::filesystem::remove(profile);
    client.push_back(std::to_string(listener.port()));
    client.push_back(profile);
    const auto start = std::chrono::steady_clock::now();
    PeerProcess program(client, -1, folder);
    const int host = listener.accept(10000);
    if (host < 0 || !sendAll(host, stream)) std::fprintf(stderr, "the host could not send\n");
    if (host >= 0) close(host);
    if (program.wait(120000) != 0) std::fprintf(stderr, "the session failed\n");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
