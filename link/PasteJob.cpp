#include "link/PasteJob.h"

PasteJob::Progress PasteJob::Step(GFComLink& link, const std::function<void(uint8_t)>& send) {
    size_t sentNow = 0;
    while (sentNow < kBytesPerPass && sent_ < text_.size()) {
        if (!link.WaitReady(2, 0) || link.OutputCount() > 0) return Progress::Waiting;
        link.BeginHold();
        for (size_t piece = 0; piece < kPiece && sent_ < text_.size(); ++sent_) {
            const uint8_t b = static_cast<uint8_t>(text_[sent_]);
            if (b == '\n') continue;
            send(b);
            ++piece;
            ++sentNow;
        }
        link.EndHold();
    }
    return sent_ < text_.size() ? Progress::More : Progress::Done;
}
