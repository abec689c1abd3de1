// A picture as it arrives: the first byte sets the piece size (1 to 256) and whether the
// input stalls after each piece; the rest goes through FeedLoad (JPEG, PNG or BMP by its first
// bytes), pictures above a megapixel refused so that a header cannot ask for gigabytes.
#include "image/PictureFeed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t piece = (data[0] & 0x7F) * 2 + 1;
    const bool stall = data[0] & 0x80;
    FeedLoad feed(PictureEvents{}, 0xFFFFFFFFu, 1 << 20);
    for (size_t at = 1; at < size; at += piece)
        feed.Feed(data + at, std::min(piece, size - at), !stall);
    feed.Stop();
    return 0;
}
