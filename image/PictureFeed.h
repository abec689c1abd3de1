#pragma once
// A picture decoded while its bytes arrive: start with the events to report to, feed bytes as
// they come, stop at the end. The format (JPEG, PNG, BMP) is told by the first bytes. Rows are
// decoded into a 32-bit surface the feed owns; a library error ends the decode and keeps the
// rows so far. Progressive JPEGs and interlaced PNGs show a pass whenever the input stalls.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "image/Dib.h"
#include "image/Surface.h"

struct PictureEvents {
    // The size is known: the picture surface is made and filled with the fill colour.
    std::function<void(int width, int height, bool progressive)> onSize;
    // Rows [first, first + count) of the picture changed; returning false stops the decode.
    std::function<bool(int first, int count)> onRows;
};

// What the format decoders write into, shared by all of them.
class PictureTarget {
public:
    PictureTarget(PictureEvents events, uint32_t fill, int64_t maxPixels)
        : events_(std::move(events)), fill_(fill), maxPixels_(maxPixels) {}
    // False (and the picture refused) beyond the size limits.
    bool setSize(int width, int height, bool progressive);
    // False once the receiver asked for the decode to stop.
    bool rowsDone(int first, int count);
    Surface& picture() { return picture_; }
    bool stopped() const { return stopped_; }
    bool tooLarge() const { return tooLarge_; }
    int rowsDecoded() const { return rowsDecoded_; }

private:
    PictureEvents events_;
    uint32_t fill_;
    int64_t maxPixels_;
    Surface picture_;
    bool stopped_ = false;
    bool tooLarge_ = false;
    int rowsDecoded_ = 0;
};

class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;
    // more: further bytes are already waiting, so no intermediate pass is worth showing.
    virtual void feed(const uint8_t* data, size_t size, bool more) = 0;
    // No more bytes will come: show what there is.
    virtual void finish() = 0;
    virtual bool failed() const = 0;
};

std::unique_ptr<PictureDecoder> makeJpegDecoder(PictureTarget& target);
std::unique_ptr<PictureDecoder> makePngDecoder(PictureTarget& target);
std::unique_ptr<PictureDecoder> makeBmpDecoder(PictureTarget& target);

class FeedLoad {
public:
    // fill: the colour of rows not decoded yet (the window colour).
    explicit FeedLoad(PictureEvents events, uint32_t fill = 0xFFFFFFFFu,
                      int64_t maxPixels = kMaxPicturePixels);
    ~FeedLoad();
    FeedLoad(const FeedLoad&) = delete;
    FeedLoad& operator=(const FeedLoad&) = delete;

    void Feed(const uint8_t* data, size_t size, bool more = false);
    void Stop();

    const Surface& Picture() const { return target_.picture(); }
    bool SizeKnown() const { return !Picture().empty(); }
    int RowsDecoded() const { return target_.rowsDecoded(); }
    bool Stopped() const { return stopped_; }
    bool TooLarge() const { return target_.tooLarge(); }
    // Not a picture we know, an error before any row, or refused for its size.
    bool Undecodable() const;
    // The Korean message for an undecodable picture.
    std::string FailureText() const;

private:
    void chooseDecoder();

    mutable PictureTarget target_;
    std::unique_ptr<PictureDecoder> decoder_;
    std::string head_;  // the first bytes, until the format is known
    bool unknownFormat_ = false;
    bool stopped_ = false;
};
