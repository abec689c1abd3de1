#pragma once
// The host's side of typing: the client sends each key as it is pressed, the host echoes it and
// gathers a line. CR NUL, CR LF, CR and LF end a line; BS and DEL rub out a character (a
// double-byte one whole); the escape sequences of keys and other control bytes are ignored. A line
// is cut at 256 bytes. Lines are handed out one at a time, so a prompt that follows one line (a
// password's) already governs the echo of the next.
#include <optional>
#include <string>
#include <string_view>

class LineInput {
public:
    enum class Echo { Plain, Masked };
    // What the end of a line echoes: CR LF, or CR alone where a newline on the bottom row
    // would scroll a screen drawn at fixed rows.
    enum class LineEnd { NewLine, Return };

    static constexpr size_t kMaxLine = 256;

    void Feed(std::string_view bytes) { pending_ += bytes; }
    // The next complete line, consuming typed bytes up to its end; what they echo is appended
    // to `echo`, the line end included. Nothing when no line is complete yet.
    std::optional<std::string> NextLine(std::string& echo);
    void SetEcho(Echo echo) { echo_ = echo; }
    void SetLineEnd(LineEnd end) { lineEnd_ = end; }
    // Whether typed bytes are still waiting to be read as lines.
    bool HasPending() const { return !pending_.empty(); }

private:
    void echoTyped(unsigned char c, std::string& echo);
    void rubOut(std::string& echo);

    Echo echo_ = Echo::Plain;
    LineEnd lineEnd_ = LineEnd::NewLine;
    std::string pending_;
    std::string line_;
    bool afterCr_ = false;
    bool awaitingTrail_ = false;  // the last byte typed was a lead byte
    bool inEscape_ = false;       // inside a key's escape sequence
};
