// PNG through libpng's progressive reader: rows come as their bytes arrive, interlaced files
// pass by pass, each pass combined into the rows of the passes before it.
#include <png.h>

#include "image/PictureFeed.h"

namespace {

class PngDecoder : public PictureDecoder {
public:
    explicit PngDecoder(PictureTarget& target) : target_(target) {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, warnQuietly);
        if (png_) info_ = png_create_info_struct(png_);
        if (!info_) {
            failed_ = true;
            return;
        }
        png_set_progressive_read_fn(png_, this, onInfo, onRow, onEnd);
    }
    ~PngDecoder() override { png_destroy_read_struct(&png_, &info_, nullptr); }

    void feed(const uint8_t* data, size_t size, bool /*more*/) override {
        if (failed_ || done_ || target_.stopped()) return;
        // Locals must stay trivial here: an error jumps back to the setjmp.
        if (setjmp(png_jmpbuf(png_))) {
            failed_ = true;
            return;
        }
        png_process_data(png_, info_, const_cast<uint8_t*>(data), size);
    }

    void finish() override {
        if (!sizeKnown_) failed_ = true;
    }

    bool failed() const override { return failed_; }

private:
    static void warnQuietly(png_structp, png_const_charp) {}

    static PngDecoder& self(png_structp png) {
        return *static_cast<PngDecoder*>(png_get_progressive_ptr(png));
    }

    // Every format becomes 8-bit BGRX, the picture's own layout; transparency is dropped.
    static void onInfo(png_structp png, png_infop info) {
        PngDecoder& d = self(png);
        const int colorType = png_get_color_type(png, info);
        png_set_strip_16(png);
        if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
        if (!(colorType & PNG_COLOR_MASK_COLOR)) {
            png_set_expand_gray_1_2_4_to_8(png);
            png_set_gray_to_rgb(png);
        }
        if (colorType & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(png);
        png_set_bgr(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        const bool interlaced = png_set_interlace_handling(png) > 1;
        png_read_update_info(png, info);
        const int width = static_cast<int>(png_get_image_width(png, info));
        const int height = static_cast<int>(png_get_image_height(png, info));
        if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4 ||
            !d.target_.setSize(width, height, interlaced)) {
            d.failed_ = true;
            return;
        }
        d.sizeKnown_ = true;
    }

    static void onRow(png_structp png, png_bytep row, png_uint_32 rowNumber, int /*pass*/) {
        PngDecoder& d = self(png);
        Surface& picture = d.target_.picture();
        if (!row || !d.sizeKnown_ || d.failed_ ||
            rowNumber >= static_cast<png_uint_32>(picture.height))
            return;
        const int y = static_cast<int>(rowNumber);
        png_progressive_combine_row(png, reinterpret_cast<png_bytep>(picture.row(y)), row);
        d.target_.rowsDone(y, 1);
    }

    static void onEnd(png_structp png, png_infop) { self(png).done_ = true; }

    PictureTarget& target_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    bool failed_ = false;
    bool done_ = false;
    bool sizeKnown_ = false;
};

}  // namespace

std::unique_ptr<PictureDecoder> makePngDecoder(PictureTarget& target) {
    return std::make_unique<PngDecoder>(target);
}
