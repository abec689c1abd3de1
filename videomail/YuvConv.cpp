#include "videomail/YuvConv.h"

#include <algorithm>
#include <array>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr int kQcifWidth = 176;
constexpr int kQcifHeight = 144;

struct Rect {
    int x, y, width, height;
};

// The largest 11:9 rectangle in the middle of the frame, with even corner and sides so that it
// holds whole chroma samples.
Rect centreCut(int width, int height) {
    Rect cut{0, 0, width, height};
    if (static_cast<long>(width) * 9 > static_cast<long>(height) * 11)
        cut.width = height * 11 / 9;
    else
        cut.height = width * 9 / 11;
    cut.width = std::max(2, cut.width & ~1);
    cut.height = std::max(2, cut.height & ~1);
    cut.x = (width - cut.width) / 2 & ~1;
    cut.y = (height - cut.height) / 2 & ~1;
    return cut;
}

// Plane pointers and strides of a frame, starting at the cut's corner.
struct Planes {
    const uint8_t* data[4] = {};
    int stride[4] = {};
};

Planes framePlanes(YuvLayout layout, int width, int height, const uint8_t* frame, Rect cut) {
    Planes planes;
    if (layout != YuvLayout::Planar420) {
        int stride = ((width + 1) & ~1) * 2;
        planes.data[0] = frame + cut.y * stride + cut.x * 2;
        planes.stride[0] = stride;
        return planes;
    }
    int chromaWidth = (width + 1) / 2;
    const uint8_t* u = frame + width * height;
    const uint8_t* v = u + chromaWidth * ((height + 1) / 2);
    planes.data[0] = frame + cut.y * width + cut.x;
    planes.data[1] = u + cut.y / 2 * chromaWidth + cut.x / 2;
    planes.data[2] = v + cut.y / 2 * chromaWidth + cut.x / 2;
    planes.stride[0] = width;
    planes.stride[1] = planes.stride[2] = chromaWidth;
    return planes;
}

AVPixelFormat pixelFormat(YuvLayout layout) {
    switch (layout) {
        case YuvLayout::Yuyv:
            return AV_PIX_FMT_YUYV422;
        case YuvLayout::Uyvy:
            return AV_PIX_FMT_UYVY422;
        case YuvLayout::Planar420:
            break;
    }
    return AV_PIX_FMT_YUV420P;
}

// A context that sites 4:2:0 chroma as MPEG-2 does (vertically between the lines), the
// convention ffmpeg's scaler follows too.
SwsContext* scaler(AVPixelFormat from, int fromWidth, int fromHeight, AVPixelFormat to, int toWidth,
                   int toHeight) {
    SwsContext* context = sws_alloc_context();
    av_opt_set_int(context, "srcw", fromWidth, 0);
    av_opt_set_int(context, "srch", fromHeight, 0);
    av_opt_set_int(context, "src_format", from, 0);
    av_opt_set_int(context, "dstw", toWidth, 0);
    av_opt_set_int(context, "dsth", toHeight, 0);
    av_opt_set_int(context, "dst_format", to, 0);
    av_opt_set_int(context, "sws_flags", SWS_BILINEAR, 0);
    if (from == AV_PIX_FMT_YUV420P) av_opt_set_int(context, "src_v_chr_pos", 128, 0);
    if (to == AV_PIX_FMT_YUV420P) av_opt_set_int(context, "dst_v_chr_pos", 128, 0);
    if (sws_init_context(context, nullptr, nullptr) < 0)
        sws_freeContext(context), context = nullptr;
    return context;
}

// RGB input is read in pixel pairs; an odd line's missing partner repeats its last pixel.
void repeatLastPixel(uint8_t* rgb, int stride, int width, int height) {
    for (int y = 0; y < height; ++y) {
        uint8_t* line = rgb + y * stride;
        std::copy_n(line + (width - 1) * 3, 3, line + width * 3);
    }
}

// The last context each thread used, kept while pictures keep their sizes and formats: making
// one costs more than converting a QCIF picture.
SwsContext* cachedScaler(AVPixelFormat from, int fromWidth, int fromHeight, AVPixelFormat to,
                         int toWidth, int toHeight) {
    struct Cache {
        std::array<int, 6> key{};
        SwsContext* context = nullptr;
        ~Cache() { sws_freeContext(context); }
    };
    thread_local Cache cache;
    std::array<int, 6> key = {from, fromWidth, fromHeight, to, toWidth, toHeight};
    if (!cache.context || cache.key != key) {
        sws_freeContext(cache.context);
        cache.context = scaler(from, fromWidth, fromHeight, to, toWidth, toHeight);
        cache.key = key;
    }
    return cache.context;
}

// Scales the source planes into a tight planar 4:2:0 or RGB24 picture. Both sides go through
// padded, aligned buffers: the scaler's vector code reads and writes past a line's end.
std::optional<std::string> scale(AVPixelFormat from, int fromWidth, int fromHeight,
                                 const Planes& source, AVPixelFormat to, int toWidth,
                                 int toHeight) {
    constexpr int kAlign = 64;
    SwsContext* context = cachedScaler(from, fromWidth, fromHeight, to, toWidth, toHeight);
    if (!context) return std::nullopt;
    uint8_t* in[4] = {};
    int inStrides[4] = {};
    uint8_t* out[4] = {};
    int outStrides[4] = {};
    std::optional<std::string> picture;
    int inBytes = av_image_alloc(in, inStrides, fromWidth + 2, fromHeight + 1, from, kAlign);
    int outBytes = av_image_alloc(out, outStrides, toWidth + 2, toHeight + 1, to, kAlign);
    if (inBytes >= 0 && outBytes >= 0) {
        std::fill_n(in[0], inBytes, 0);
        av_image_copy(in, inStrides, const_cast<const uint8_t**>(source.data), source.stride, from,
                      fromWidth, fromHeight);
        if (from == AV_PIX_FMT_RGB24) repeatLastPixel(in[0], inStrides[0], fromWidth, fromHeight);
        sws_scale(context, in, inStrides, 0, fromHeight, out, outStrides);
        picture.emplace(av_image_get_buffer_size(to, toWidth, toHeight, 1), '\0');
        av_image_copy_to_buffer(reinterpret_cast<uint8_t*>(picture->data()),
                                static_cast<int>(picture->size()), out, outStrides, to, toWidth,
                                toHeight, 1);
    }
    av_freep(&in[0]);
    av_freep(&out[0]);
    return picture;
}

bool validFrame(YuvLayout layout, int width, int height, std::string_view frame) {
    return width > 1 && height > 1 && width <= 16384 && height <= 16384 &&
           frame.size() == yuvFrameBytes(layout, width, height);
}

}  // namespace

size_t yuvFrameBytes(YuvLayout layout, int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
    if (layout != YuvLayout::Planar420) return (w + 1) / 2 * 4 * h;
    return w * h + 2 * ((w + 1) / 2) * ((h + 1) / 2);
}

std::optional<std::string> yuvToQcif420(YuvLayout layout, int width, int height,
                                        std::string_view frame) {
    if (!validFrame(layout, width, height, frame)) return std::nullopt;
    Rect cut = centreCut(width, height);
    Planes source =
        framePlanes(layout, width, height, reinterpret_cast<const uint8_t*>(frame.data()), cut);
    return scale(pixelFormat(layout), cut.width, cut.height, source, AV_PIX_FMT_YUV420P, kQcifWidth,
                 kQcifHeight);
}

std::optional<std::string> yuv420ToRgb24(int width, int height, std::string_view picture) {
    if (!validFrame(YuvLayout::Planar420, width, height, picture)) return std::nullopt;
    Planes source =
        framePlanes(YuvLayout::Planar420, width, height,
                    reinterpret_cast<const uint8_t*>(picture.data()), {0, 0, width, height});
    return scale(AV_PIX_FMT_YUV420P, width, height, source, AV_PIX_FMT_RGB24, width, height);
}

std::optional<std::string> rgb24ToYuv420(int width, int height, std::string_view rgb) {
    if (width <= 1 || height <= 1 || width > 16384 || height > 16384 ||
        rgb.size() != static_cast<size_t>(width) * height * 3)
        return std::nullopt;
    Planes source;
    source.data[0] = reinterpret_cast<const uint8_t*>(rgb.data());
    source.stride[0] = width * 3;
    return scale(AV_PIX_FMT_RGB24, width, height, source, AV_PIX_FMT_YUV420P, width, height);
}
