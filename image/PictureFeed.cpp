#include "image/PictureFeed.h"

bool PictureTarget::setSize(int width, int height, bool progressive) {
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
        static_cast<int64_t>(width) * height > maxPixels_) {
        tooLarge_ = true;
        stopped_ = true;
        return false;
    }
    picture_ = Surface(width, height, fill_);
    if (events_.onSize) events_.onSize(width, height, progressive);
    return true;
}

bool PictureTarget::rowsDone(int first, int count) {
    if (stopped_) return false;
    if (first + count > rowsDecoded_) rowsDecoded_ = first + count;
    if (events_.onRows && !events_.onRows(first, count)) stopped_ = true;
    return !stopped_;
}

FeedLoad::FeedLoad(PictureEvents events, uint32_t fill, int64_t maxPixels)
    : target_(std::move(events), fill, maxPixels) {}

FeedLoad::~FeedLoad() = default;

void FeedLoad::chooseDecoder() {
    const auto b = [this](size_t i) { return static_cast<uint8_t>(head_[i]); };
    if (b(0) == 0xFF && b(1) == 0xD8) {
        decoder_ = makeJpegDecoder(target_);
    } else if (b(0) == 0x89 && b(1) == 'P') {
        decoder_ = makePngDecoder(target_);
    } else if (b(0) == 'B' && b(1) == 'M') {
        decoder_ = makeBmpDecoder(target_);
    } else {
        unknownFormat_ = true;
    }
}

void FeedLoad::Feed(const uint8_t* data, size_t size, bool more) {
    if (stopped_ || unknownFormat_ || target_.stopped()) return;
    if (!decoder_) {
        head_.append(reinterpret_cast<const char*>(data), size);
        if (head_.size() < 2) return;
        chooseDecoder();
        if (!decoder_) return;
        decoder_->feed(reinterpret_cast<const uint8_t*>(head_.data()), head_.size(), more);
        head_.clear();
        return;
    }
    decoder_->feed(data, size, more);
}

void FeedLoad::Stop() {
    if (stopped_) return;
    stopped_ = true;
    if (decoder_ && !target_.stopped()) decoder_->finish();
}

bool FeedLoad::Undecodable() const {
    if (unknownFormat_ || TooLarge() || (stopped_ && !SizeKnown())) return true;
    if (!decoder_) return stopped_;
    return decoder_->failed() && target_.rowsDecoded() == 0;
}

std::string FeedLoad::FailureText() const {
    if (TooLarge()) return "그림이 너무 커서 표시할 수 없습니다.";
    return "그림을 표시할 수 없습니다.";
}
