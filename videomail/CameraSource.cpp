#include "videomail/CameraSource.h"

#include <fcntl.h>
#include <libv4l2.h>
#include <linux/videodev2.h>

#include "videomail/H263Coder.h"
#include "videomail/YuvConv.h"

CameraSource::CameraSource(const std::string& device) {
    fd_ = v4l2_open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = "카메라를 열 수 없습니다: " + device;
        return;
    }
    if (!chooseFormat()) {
        v4l2_close(fd_);
        fd_ = -1;
        error_ = "카메라에서 영상을 받을 수 없습니다: " + device;
    }
}

CameraSource::~CameraSource() {
    if (fd_ >= 0) v4l2_close(fd_);
}

// Asks for QCIF 4:2:0; the device may settle on another size, which yuvconv then cuts.
bool CameraSource::chooseFormat() {
    v4l2_format format{};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    format.fmt.pix.width = qcif::kWidth;
    format.fmt.pix.height = qcif::kHeight;
    format.fmt.pix.pixelformat = V4L2_PIX_FMT_YUV420;
    format.fmt.pix.field = V4L2_FIELD_ANY;
    if (v4l2_ioctl(fd_, VIDIOC_S_FMT, &format) < 0 ||
        format.fmt.pix.pixelformat != V4L2_PIX_FMT_YUV420)
        return false;
    width_ = static_cast<int>(format.fmt.pix.width);
    height_ = static_cast<int>(format.fmt.pix.height);
    frameBytes_ = yuvFrameBytes(YuvLayout::Planar420, width_, height_);
    return width_ > 0 && height_ > 0;
}

std::optional<std::string> CameraSource::NextPicture() {
    if (fd_ < 0) return std::nullopt;
    std::string frame(frameBytes_, '\0');
    if (v4l2_read(fd_, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size()))
        return std::nullopt;
    return yuvToQcif420(YuvLayout::Planar420, width_, height_, frame);
}
