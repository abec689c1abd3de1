// JPEG through libjpeg-turbo with a suspending source: each call decodes as far as the bytes so
// far allow and returns. Progressive files run in buffered-image mode: when the input stalls
// the newest scan is shown, and once the file has ended the final pass.
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "image/PictureFeed.h"

namespace {

struct JpegErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

void keepQuiet(j_common_ptr) {}

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

class JpegDecoder : public PictureDecoder {
public:
    explicit JpegDecoder(PictureTarget& target) : target_(target) {
        cinfo_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = jumpOnError;
        errors_.pub.output_message = keepQuiet;
        jpeg_create_decompress(&cinfo_);
        cinfo_.client_data = this;
        source_.init_source = [](j_decompress_ptr) {};
        source_.fill_input_buffer = fillInput;
        source_.skip_input_data = skipInput;
        source_.resync_to_restart = jpeg_resync_to_restart;
        source_.term_source = [](j_decompress_ptr) {};
        cinfo_.src = &source_;
    }
    ~JpegDecoder() override { jpeg_destroy_decompress(&cinfo_); }

    void feed(const uint8_t* data, size_t size, bool more) override {
        if (phase_ == Phase::Done || phase_ == Phase::Failed) return;
        appendInput(data, size);
        more_ = more;
        run();
    }

    void finish() override {
        if (phase_ == Phase::Done || phase_ == Phase::Failed) return;
        if (phase_ == Phase::Header || phase_ == Phase::Start) {
            phase_ = Phase::Failed;
            return;
        }
        if (!cinfo_.buffered_image) {
            phase_ = Phase::Done;  // the rows so far stay
            return;
        }
        // What arrived of a progressive file is shown as its final pass.
        ended_ = true;
        more_ = false;
        run();
    }

    bool failed() const override { return phase_ == Phase::Failed; }

private:
    enum class Phase {
        Header,
        Start,
        Rows,
        Consume,
        OutputStart,
        OutputRows,
        OutputFinish,
        Done,
        Failed
    };

    static JpegDecoder& self(j_decompress_ptr cinfo) {
        return *static_cast<JpegDecoder*>(cinfo->client_data);
    }

    // Suspends for more bytes, or ends the file once no more will come.
    static boolean fillInput(j_decompress_ptr cinfo) {
        if (!self(cinfo).ended_) return FALSE;
        cinfo->src->next_input_byte = kEndOfImage;
        cinfo->src->bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }

    static void skipInput(j_decompress_ptr cinfo, long count) {
        if (count <= 0) return;
        jpeg_source_mgr* src = cinfo->src;
        const size_t n = static_cast<size_t>(count);
        if (n <= src->bytes_in_buffer) {
            src->next_input_byte += n;
            src->bytes_in_buffer -= n;
            return;
        }
        self(cinfo).skipPending_ += n - src->bytes_in_buffer;
        src->next_input_byte += src->bytes_in_buffer;
        src->bytes_in_buffer = 0;
    }

    void appendInput(const uint8_t* data, size_t size) {
        const size_t skip = std::min(skipPending_, size);
        skipPending_ -= skip;
        data += skip;
        size -= skip;
        if (source_.bytes_in_buffer == 0) {
            input_.clear();
        } else if (source_.next_input_byte != input_.data()) {
            input_.erase(input_.begin(),
                         input_.begin() + (source_.next_input_byte - input_.data()));
        }
        input_.insert(input_.end(), data, data + size);
        source_.next_input_byte = input_.data();
        source_.bytes_in_buffer = input_.size();
    }

    // Steps until the library suspends or the picture is done. Locals here must stay trivial:
    // an error jumps back to the setjmp.
    void run() {
        if (setjmp(errors_.jump)) {
            phase_ = Phase::Failed;
            return;
        }
        while (step()) {
        }
    }

    bool step() {
        switch (phase_) {
            case Phase::Header:
                return readHeader();
            case Phase::Start:
                if (!jpeg_start_decompress(&cinfo_)) return false;
                phase_ = cinfo_.buffered_image ? Phase::Consume : Phase::Rows;
                return true;
            case Phase::Rows:
                if (!readRows()) return false;
                phase_ = Phase::Done;
                return false;
            case Phase::Consume:
                return consume();
            case Phase::OutputStart:
                if (!jpeg_start_output(&cinfo_, cinfo_.input_scan_number)) return false;
                shownScan_ = cinfo_.input_scan_number;
                phase_ = Phase::OutputRows;
                return true;
            case Phase::OutputRows:
                if (!readRows()) return false;
                phase_ = Phase::OutputFinish;
                return true;
            case Phase::OutputFinish:
                if (!jpeg_finish_output(&cinfo_)) return false;
                phase_ = finalPass_ ? Phase::Done : Phase::Consume;
                return phase_ != Phase::Done;
            case Phase::Done:
            case Phase::Failed:
                return false;
        }
        return false;
    }

    bool readHeader() {
        if (jpeg_read_header(&cinfo_, TRUE) == JPEG_SUSPENDED) return false;
        cinfo_.out_color_space = JCS_EXT_BGRX;
        cinfo_.buffered_image = jpeg_has_multiple_scans(&cinfo_);
        if (!target_.setSize(static_cast<int>(cinfo_.image_width),
                             static_cast<int>(cinfo_.image_height), cinfo_.buffered_image)) {
            phase_ = Phase::Failed;
            return false;
        }
        phase_ = Phase::Start;
        return true;
    }

    // Input until it stalls: then a pass of the newest scan, unless more is already waiting.
    bool consume() {
        if (jpeg_input_complete(&cinfo_)) return startPass(true);
        const int result = jpeg_consume_input(&cinfo_);
        if (result == JPEG_REACHED_EOI) return startPass(true);
        if (result != JPEG_SUSPENDED) return true;
        if (more_ || cinfo_.input_scan_number <= shownScan_) return false;
        return startPass(false);
    }

    bool startPass(bool final) {
        finalPass_ = final;
        phase_ = Phase::OutputStart;
        return true;
    }

    // Reads rows straight into the picture; false when the input suspended first.
    bool readRows() {
        Surface& picture = target_.picture();
        JSAMPROW rows[16];
        while (cinfo_.output_scanline < cinfo_.output_height) {
            const int first = static_cast<int>(cinfo_.output_scanline);
            const int want = std::min(16, picture.height - first);
            for (int i = 0; i < want; ++i)
                rows[i] = reinterpret_cast<JSAMPROW>(picture.row(first + i));
            const int got = static_cast<int>(jpeg_read_scanlines(&cinfo_, rows, want));
            if (got == 0) return false;
            for (int i = 0; i < got; ++i) {
                uint32_t* row = picture.row(first + i);
                for (int x = 0; x < picture.width; ++x)
                    row[x] |= 0xFF000000u;
            }
            if (!target_.rowsDone(first, got)) {
                phase_ = Phase::Done;
                return false;
            }
        }
        return true;
    }

    PictureTarget& target_;
    jpeg_decompress_struct cinfo_{};
    JpegErrors errors_{};
    jpeg_source_mgr source_{};
    std::vector<uint8_t> input_;
    size_t skipPending_ = 0;
    Phase phase_ = Phase::Header;
    bool more_ = false;
    bool ended_ = false;
    bool finalPass_ = false;
    int shownScan_ = 0;
};

}  // namespace

std::unique_ptr<PictureDecoder> makeJpegDecoder(PictureTarget& target) {
    return std::make_unique<JpegDecoder>(target);
}
