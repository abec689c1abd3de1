#include "videomail/H263Coder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
}

#include <cstring>

namespace {

// Damaged pictures are expected input; only errors reach the log.
void quietLog() {
    av_log_set_level(AV_LOG_ERROR);
}

std::string copyPlanes(const AVFrame* frame) {
    std::string picture;
    picture.reserve(qcif::kPictureBytes);
    for (int plane = 0; plane < 3; ++plane) {
        int width = plane ? qcif::kWidth / 2 : qcif::kWidth;
        int height = plane ? qcif::kHeight / 2 : qcif::kHeight;
        for (int y = 0; y < height; ++y)
            picture.append(
                reinterpret_cast<const char*>(frame->data[plane] + y * frame->linesize[plane]),
                width);
    }
    return picture;
}

void fillPlanes(AVFrame* frame, std::string_view picture) {
    const char* source = picture.data();
    for (int plane = 0; plane < 3; ++plane) {
        int width = plane ? qcif::kWidth / 2 : qcif::kWidth;
        int height = plane ? qcif::kHeight / 2 : qcif::kHeight;
        for (int y = 0; y < height; ++y, source += width)
            memcpy(frame->data[plane] + y * frame->linesize[plane], source, width);
    }
}

}  // namespace

H263Encoder::H263Encoder() {
    quietLog();
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_H263);
    context_ = avcodec_alloc_context3(codec);
    context_->width = qcif::kWidth;
    context_->height = qcif::kHeight;
    context_->pix_fmt = AV_PIX_FMT_YUV420P;
    context_->time_base = {1, h263settings::kFrameRate};
    context_->framerate = {h263settings::kFrameRate, 1};
    context_->bit_rate = h263settings::kBitRate;
    context_->gop_size = h263settings::kGopSize;
    context_->max_b_frames = 0;
    context_->thread_count = 1;
    if (avcodec_open2(context_, codec, nullptr) < 0) avcodec_free_context(&context_);
    frame_ = av_frame_alloc();
    frame_->format = AV_PIX_FMT_YUV420P;
    frame_->width = qcif::kWidth;
    frame_->height = qcif::kHeight;
    av_frame_get_buffer(frame_, 0);
    packet_ = av_packet_alloc();
}

H263Encoder::~H263Encoder() {
    av_packet_free(&packet_);
    av_frame_free(&frame_);
    avcodec_free_context(&context_);
}

std::optional<std::string> H263Encoder::EncodePicture(std::string_view yuv420) {
    if (!context_ || yuv420.size() != qcif::kPictureBytes) return std::nullopt;
    if (av_frame_make_writable(frame_) < 0) return std::nullopt;
    fillPlanes(frame_, yuv420);
    frame_->pts = pts_++;
    if (avcodec_send_frame(context_, frame_) < 0) return std::nullopt;
    if (avcodec_receive_packet(context_, packet_) < 0) return std::nullopt;
    std::string coded(reinterpret_cast<const char*>(packet_->data), packet_->size);
    av_packet_unref(packet_);
    return coded;
}

H263Decoder::H263Decoder() {
    quietLog();
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H263);
    context_ = avcodec_alloc_context3(codec);
    context_->thread_count = 1;
    if (avcodec_open2(context_, codec, nullptr) < 0) avcodec_free_context(&context_);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
}

H263Decoder::~H263Decoder() {
    av_packet_free(&packet_);
    av_frame_free(&frame_);
    avcodec_free_context(&context_);
}

std::optional<std::string> H263Decoder::DecodePicture(std::string_view coded) {
    if (!context_ || coded.empty()) return std::nullopt;
    if (av_new_packet(packet_, static_cast<int>(coded.size())) < 0) return std::nullopt;
    memcpy(packet_->data, coded.data(), coded.size());
    int sent = avcodec_send_packet(context_, packet_);
    av_packet_unref(packet_);
    if (sent < 0) return std::nullopt;
    if (avcodec_receive_frame(context_, frame_) < 0) return std::nullopt;
    std::optional<std::string> picture;
    if (frame_->width == qcif::kWidth && frame_->height == qcif::kHeight &&
        frame_->format == AV_PIX_FMT_YUV420P)
        picture = copyPlanes(frame_);
    av_frame_unref(frame_);
    return picture;
}
