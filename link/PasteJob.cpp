#include "link/PasteJob.h"

PasteJob::Progress PasteJob::Step(GFComLink& link, const std::function<void(uint8_t)>& send) {
    size_t sentNow = 0;
    while (sentNow < kBytesPerPass && sent_ < text_.size()) {
        const uint8_t b = static_cast<uint8_t>(text_[sent_]);
        if (b == '\n') {
            ++sent_;
            continue;
        }
        if (!link.WaitReady(2, 0)) return Progress::Waiting;
        ++sent_;
        ++sentNow;
        send(b);
    }
    return sent_ < text_.size() ? Progress::More : Progress::Done;
}
