// BMP, our own: once the headers are in, plain rows are shown as each one completes (bottom
// row first); RLE data is decoded as a whole when it is complete or the file ends.
#include <optional>
#include <vector>

#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "image/PictureFeed.h"
#include "image/Rle.h"

namespace {

class BmpDecoder : public PictureDecoder {
public:
    explicit BmpDecoder(PictureTarget& target) : target_(target) {}

    void feed(const uint8_t* data, size_t size, bool /*more*/) override {
        if (failed_ || done_) return;
        file_.insert(file_.end(), data, data + size);
        if (!layout_ && !readHeaders()) return;
        if (file_.size() < layout_->bitsOffset) return;
        if (layout_->header.compression == kBiRgb) {
            showCompleteRows();
        } else if (layout_->bitsSize != 0 &&
                   file_.size() >= layout_->bitsOffset + layout_->bitsSize) {
            showRle();
        }
    }

    void finish() override {
        if (!layout_) {
            failed_ = true;
        } else if (!done_ && layout_->header.compression != kBiRgb &&
                   file_.size() > layout_->bitsOffset) {
            showRle();
        }
        done_ = true;
    }

    bool failed() const override { return failed_; }

private:
    bool readHeaders() {
        if (file_.size() < kFileHeaderSize + kInfoHeaderSize) return false;
        const uint8_t* info = file_.data() + kFileHeaderSize;
        const int width = static_cast<int32_t>(readLe32(info + 4));
        const int height = static_cast<int32_t>(readLe32(info + 8));
        // A picture refused for its size says so.
        if (width > kMaxPictureSide || height > kMaxPictureSide)
            target_.setSize(width, height, false);
        layout_ = checkBmpHeaders(file_.data(), file_.size(), 0);
        if (!layout_ || !target_.setSize(layout_->header.width, layout_->header.height, false)) {
            failed_ = true;
            layout_.reset();
            return false;
        }
        return true;
    }

    Palette table() const {
        Palette palette;
        for (int i = 0; i < layout_->colors; ++i) {
            const uint8_t* e = file_.data() + layout_->tableOffset + i * 4;
            palette.colors.push_back(rgbColor(e[2], e[1], e[0]));
        }
        return palette;
    }

    void showCompleteRows() {
        const DibHeader& h = layout_->header;
        const size_t rowSize = DIBRowSize(h.width, h.bitCount);
        const Palette colors = table();
        Surface& picture = target_.picture();
        while (rowsShown_ < h.height &&
               file_.size() >= layout_->bitsOffset + (rowsShown_ + 1) * rowSize) {
            const int y = h.height - 1 - rowsShown_;
            decodeDibRow(file_.data() + layout_->bitsOffset + rowsShown_ * rowSize, h.width,
                         h.bitCount, colors, picture.row(y));
            ++rowsShown_;
            if (!target_.rowsDone(y, 1)) break;
        }
        if (rowsShown_ == h.height) done_ = true;
    }

    void showRle() {
        const DibHeader& h = layout_->header;
        const size_t size = std::min(file_.size() - layout_->bitsOffset,
                                     layout_->bitsSize ? layout_->bitsSize : SIZE_MAX);
        const std::vector<uint8_t> px = decodeRle(file_.data() + layout_->bitsOffset, size, h.width,
                                                  h.height, h.compression == kBiRle4);
        const Palette colors = table();
        Surface& picture = target_.picture();
        for (int y = 0; y < h.height; ++y)
            for (int x = 0; x < h.width; ++x) {
                const unsigned i = px[static_cast<size_t>(y) * h.width + x];
                picture.at(x, h.height - 1 - y) =
                    i < colors.colors.size() ? colors.colors[i] : 0xFF000000u;
            }
        target_.rowsDone(0, h.height);
        done_ = true;
    }

    PictureTarget& target_;
    std::vector<uint8_t> file_;
    std::optional<BmpLayout> layout_;
    int rowsShown_ = 0;
    bool failed_ = false;
    bool done_ = false;
};

}  // namespace

std::unique_ptr<PictureDecoder> makeBmpDecoder(PictureTarget& target) {
    return std::make_unique<BmpDecoder>(target);
}
