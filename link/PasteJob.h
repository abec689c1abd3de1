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
    // Bytes sent in one idle pass at most.
    static constexpr size_t kBytesPerPass = 1024;

    enum class Progress { Done, More, Waiting };

    // text: CP949, line ends as the clipboard holds them (LF is never sent).
    explicit PasteJob(std::string text) : text_(std::move(text)) {}

    // Sends up to kBytesPerPass bytes through `send`, each only while the link has room for
    // output. More: call again at the next pass; Waiting: the link is full, try again shortly.
    Progress Step(GFComLink& link, const std::function<void(uint8_t)>& send);
    size_t Remaining() const { return text_.size() - sent_; }

private:
    std::string text_;
    size_t sent_ = 0;
};
