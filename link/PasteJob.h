#pragma once
// Text pasted into the terminal on its way to the host. The session sends it a piece per idle
// pass, as fast as the link takes output, so the user interface stays alive however long the
// text is; Esc may cancel it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "xfer/GFComLink.h"

class PasteJob {
public:
    // Bytes sent in one idle pass at most, in pieces that any link's output queue holds even
    // when every byte doubles on the way (CR NUL, IAC IAC).
    static constexpr size_t kBytesPerPass = 1024;
    static constexpr size_t kPiece = 128;

    enum class Progress { Done, More, Waiting };

    // text: CP949, line ends as the clipboard holds them (LF is never sent).
    explicit PasteJob(std::string text) : text_(std::move(text)) {}

    // Sends up to kBytesPerPass bytes through `send`, a piece at a time once the link has sent
    // everything before it, each piece as one held group. More: call again at the next pass;
    // Waiting: the link is still busy with earlier output, try again shortly.
    Progress Step(GFComLink& link, const std::function<void(uint8_t)>& send);
    size_t Remaining() const { return text_.size() - sent_; }

private:
    std::string text_;
    size_t sent_ = 0;
};
