#pragma once
// Runs bytes through the terminal engine over a memory link into a screen buffer and renders
// the outcome (screen, history, cursor, replies, events) as one JSON object.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/MemoryLink.h"
#include "term/TWEmulator.h"
#include "term/TWView.h"

struct VtDumpOptions {
    int rows = 25;
    bool johab = false;  // Johab display and sending
    bool echo = false;   // answer echo
};

// The screen buffer, handing the lines it offers (complete, or partial) to a listener.
class VtDumpView : public TWView {
public:
    std::function<void(bool)> lineReady;
    void OnLineReady(bool partial) override {
        if (lineReady) lineReady(partial);
    }
};

class VtDump {
public:
    explicit VtDump(const VtDumpOptions& options);

    // Interprets the bytes to the end, recording every status code other than "no data".
    void Feed(std::string_view bytes);
    std::string Json() const;

    const TWView& View() const { return view_; }
    VtDumpView& LineView() { return view_; }
    MemoryLink& Link() { return link_; }
    TWEmulator& Emulator() { return emulator_; }
    const std::string& Replies() const { return link_.Output(); }
    const std::vector<int>& Events() const { return events_; }

private:
    MemoryLink link_;
    VtDumpView view_;
    TWEmulator emulator_;
    std::vector<int> events_;
};
