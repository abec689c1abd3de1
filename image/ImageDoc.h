#pragma once
// What every picture document shares: the feed-load decoding its picture, the bytes queued for
// it (decoded in slices from the event loop, never all at once), the file the picture is kept
// in, the title, and the window watching it.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "image/PictureFeed.h"
#include "platform/Clock.h"

// The picture window, as the documents see it. User-interface thread only.
class ImageDocObserver {
public:
    virtual ~ImageDocObserver() = default;
    virtual void OnPictureSize(int /*width*/, int /*height*/, bool /*progressive*/) {}
    // False stops the decode (the window went away).
    virtual bool OnPictureRows(int /*first*/, int /*count*/) { return true; }
    // The window's place, in pixels from the top-left corner of the terminal view.
    virtual void OnPlace(int /*x*/, int /*y*/) {}
    // Bytes wait to be decoded: a slice should run soon.
    virtual void OnInputQueued() {}
    // The transfer stopped running (ended, cancelled or finished).
    virtual void OnTransferEnded() {}
};

class ImageDoc {
public:
    // Bytes handed to the decoder at a time within a slice.
    static constexpr size_t kSlicePiece = 4096;
    static constexpr int kSliceMs = 30;

    explicit ImageDoc(Clock& clock) : clock_(clock) {}
    virtual ~ImageDoc();
    ImageDoc(const ImageDoc&) = delete;
    ImageDoc& operator=(const ImageDoc&) = delete;

    void SetObserver(ImageDocObserver* observer) { observer_ = observer; }
    // Decodes queued bytes for about ms; true while more wait.
    bool DecodeSlice(int ms = kSliceMs);
    bool DecodePending() const {
        return !queue_.empty() || (inputEnded_ && feed_ && !feed_->Stopped());
    }
    // Decodes everything queued (tools and tests).
    void DecodeAll();

    // A transfer still brings the picture.
    virtual bool TransferRunning() const { return false; }
    virtual void CancelTransfer() {}

    const Surface* Picture() const { return feed_ ? &feed_->Picture() : nullptr; }
    const FeedLoad* Feed() const { return feed_.get(); }
    // The picture has ended and cannot be shown.
    bool Undecodable() const {
        return inputEnded_ && feed_ && feed_->Stopped() && feed_->Undecodable();
    }
    // The file holding the received picture; empty when there is none.
    const std::string& FilePath() const { return filePath_; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    Clock& clock() { return clock_; }

protected:
    // Starts (or restarts) decoding; queued bytes are dropped.
    void startDecode();
    void queueBytes(const uint8_t* data, size_t size);
    // No more bytes: the decode stops once the queue is empty.
    void endInput();
    ImageDocObserver* observer() { return observer_; }

    std::string filePath_;
    std::string title_;

private:
    Clock& clock_;
    ImageDocObserver* observer_ = nullptr;
    std::unique_ptr<FeedLoad> feed_;
    std::deque<std::vector<uint8_t>> queue_;
    bool inputEnded_ = false;
};
