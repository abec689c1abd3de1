#pragma once
// Pictures from a camera through libv4l2, which converts whatever the device gives to planar
// 4:2:0; each frame is then cut and scaled to QCIF by yuvconv.
#include <string>

#include "videomail/MediaSources.h"

class CameraSource : public VideoSource {
public:
    explicit CameraSource(const std::string& device);
    ~CameraSource() override;
    CameraSource(const CameraSource&) = delete;
    CameraSource& operator=(const CameraSource&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Why the camera cannot be used, for the user (UTF-8); empty when it is open.
    const std::string& error() const { return error_; }
    // The next frame as QCIF; nothing once the device fails.
    std::optional<std::string> NextPicture() override;

private:
    bool chooseFormat();

    int fd_ = -1;
    int width_ = 0;
    int height_ = 0;
    size_t frameBytes_ = 0;
    std::string error_;
};
