#pragma once
// Runs a captured host stream through the terminal engine with Baduk mode on and reports the
// board document the stream builds (the engine of quilite-baduk, and the tests' terminal).
#include <string>
#include <string_view>
#include <vector>

#include "baduk/BadukHandOver.h"
#include "link/MemoryLink.h"
#include "term/TWEmulator.h"
#include "term/TWView.h"

class CBadukDoc;

// A screen buffer that hands Go boards over as the terminal window does.
class BadukTerminal : public TWView {
public:
    explicit BadukTerminal(std::function<std::string()> serviceName, bool mode = true)
        : handOver(*this, std::move(serviceName), mode) {}
    BadukHandOver handOver;
    int bells = 0;

protected:
    void OnBell() override { ++bells; }
    void OnScreenCleared() override { handOver.OnScreenCleared(); }
    void OnBoardRecognised() override { handOver.OnBoardRecognised(); }
    void OnBoardEraseToEndOfLine(TWPoint cursor) override {
        handOver.OnBoardEraseToEndOfLine(cursor);
    }
};

class BadukDump {
public:
    // service: the service name in CP949. Text the board sends goes to the link's output.
    explicit BadukDump(std::string service = {}, bool mode = true);
    ~BadukDump();

    void Feed(std::string_view bytes);
    // The document, or null when no board was opened (or it was closed).
    const CBadukDoc* Doc() const;
    // The text a click at a pixel of a board view with cell size b sends, empty off the board.
    static std::string ClickText(int px, int py, int b);
    // The board, moves, numbers, last move and texts as JSON; clicks: pixel pairs to report.
    std::string Json(int cellSize, const std::vector<std::pair<int, int>>& clicks) const;

    BadukTerminal& View() { return view_; }
    const std::string& Sent() const { return link_.Output(); }

private:
    std::string service_;
    MemoryLink link_;
    BadukTerminal view_;
    TWEmulator emulator_;
};
