#include "image/ImageDoc.h"

ImageDoc::~ImageDoc() = default;

void ImageDoc::startDecode() {
    queue_.clear();
    inputEnded_ = false;
    feed_ = std::make_unique<FeedLoad>(
        PictureEvents{[this](int width, int height, bool progressive) {
                          if (observer_) observer_->OnPictureSize(width, height, progressive);
                      },
                      [this](int first, int count) {
                          return !observer_ || observer_->OnPictureRows(first, count);
                      }});
}

void ImageDoc::queueBytes(const uint8_t* data, size_t size) {
    if (!feed_ || inputEnded_ || size == 0) return;
    for (size_t at = 0; at < size; at += kSlicePiece)
        queue_.emplace_back(data + at, data + std::min(size, at + kSlicePiece));
    if (observer_) observer_->OnInputQueued();
}

void ImageDoc::endInput() {
    if (!feed_ || inputEnded_) return;
    inputEnded_ = true;
    if (observer_) observer_->OnInputQueued();
}

bool ImageDoc::DecodeSlice(int ms) {
    if (!feed_) return false;
    const int64_t start = clock_.nowMs();
    while (!queue_.empty()) {
        const std::vector<uint8_t> piece = std::move(queue_.front());
        queue_.pop_front();
        feed_->Feed(piece.data(), piece.size(), !queue_.empty());
        if (clock_.nowMs() - start >= ms) break;
    }
    if (queue_.empty() && inputEnded_) feed_->Stop();
    return DecodePending();
}

void ImageDoc::DecodeAll() {
    while (DecodeSlice(1000)) {
    }
}
