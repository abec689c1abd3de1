#pragma once
// The user's own terminal while the tty front end runs in it: raw keyboard input, the
// alternate screen, bracketed paste and the application keypad, all undone on every way out
// (normal exit, exit(), fatal signals, termination signals). Signals that ask the program to
// end, a resize, and a stop and continue arrive as bytes on SignalFd(), for the event loop.
// One per process: the signal handlers share its state.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class HostTerminal {
public:
    HostTerminal(int inFd, int outFd);
    ~HostTerminal();
    HostTerminal(const HostTerminal&) = delete;
    HostTerminal& operator=(const HostTerminal&) = delete;

    // Takes the terminal over; false (with the reason) when input or output is no terminal.
    bool Enter(std::string& error);
    // Gives the terminal back as it was; safe to call again.
    void Restore();
    // After a stop: the terminal was given back; Resume takes it over again.
    void Resume();

    int InputFd() const { return in_; }
    // The read end of the signal pipe: one byte per signal, the signal's number.
    int SignalFd() const;
    // Columns and lines; false when the terminal does not say.
    bool Size(int& columns, int& lines) const;
    // Reads what has been typed, without waiting: bytes read, 0 when none, -1 when the terminal
    // is gone.
    int ReadInput(char* buffer, int size);
    // The cells the terminal gives each sample (UTF-8), from the cursor position reports it
    // sends after each is written at the top left of the screen, which is then blanked; 0 for
    // the samples not answered within `timeoutMs` in all. Keys typed meanwhile are kept for
    // ReadInput.
    std::vector<int> MeasureWidths(const std::vector<std::string>& samples, int timeoutMs);
    // Writes all of it, waiting while the terminal is slow; nothing once the terminal is gone.
    void Write(std::string_view bytes);
    bool Gone() const { return gone_; }

private:
    void takeOver();
    bool awaitCursorColumn(int64_t deadlineMs, int& column);

    int in_;
    int out_;
    bool gone_ = false;
    std::string typedAhead_;  // read while waiting for a cursor position report
};
