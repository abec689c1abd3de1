#pragma once
// yuvconv: colour conversion for video frames over libswscale (bilinear). Captured frames of any
// size become QCIF 4:2:0 pictures (the centre cut to 11:9, then scaled); 4:2:0 pictures become
// RGB24 for display and back (BT.601, limited range). Planar 4:2:0 is Y, U, V without padding,
// chroma planes of (width + 1) / 2 x (height + 1) / 2.
#include <optional>
#include <string>
#include <string_view>

enum class YuvLayout { Yuyv, Uyvy, Planar420 };

// The bytes a frame of this layout and size occupies.
size_t yuvFrameBytes(YuvLayout layout, int width, int height);
// Nothing when the size is not positive or the data is not one whole frame.
std::optional<std::string> yuvToQcif420(YuvLayout layout, int width, int height,
                                        std::string_view frame);
std::optional<std::string> yuv420ToRgb24(int width, int height, std::string_view picture);
std::optional<std::string> rgb24ToYuv420(int width, int height, std::string_view rgb);
