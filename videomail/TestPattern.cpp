#include "videomail/TestPattern.h"

#include <cstdint>

#include "videomail/H263Coder.h"

namespace {

// Y, U, V of the eight classic bars: white, yellow, cyan, green, magenta, red, blue, black.
constexpr uint8_t kBars[8][3] = {{235, 128, 128}, {210, 16, 146}, {170, 166, 16}, {145, 54, 34},
                                 {106, 202, 222}, {81, 90, 240},  {41, 240, 110}, {16, 128, 128}};

// Digits 0-9 in a 3 x 5 grid, one row of three bits per line, top row first.
constexpr uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};
constexpr int kDigitScale = 3;

int barAt(int x, int frameNumber) {
    constexpr int kBarWidth = qcif::kWidth / 8;
    return ((x + 2 * frameNumber) / kBarWidth) % 8;
}

void drawNumber(std::string& picture, int frameNumber) {
    std::string digits = std::to_string(frameNumber);
    for (size_t d = 0; d < digits.size(); ++d)
        for (int row = 0; row < 5 * kDigitScale; ++row)
            for (int col = 0; col < 4 * kDigitScale; ++col) {
                int bit = col / kDigitScale;
                bool on = bit < 3 && kDigits[digits[d] - '0'][row / kDigitScale] >> (2 - bit) & 1;
                int x = 4 + static_cast<int>(d) * 4 * kDigitScale + col;
                int y = 4 + row;
                picture[y * qcif::kWidth + x] = static_cast<char>(on ? 235 : 16);
            }
}

}  // namespace

std::string testPatternPicture(int frameNumber) {
    constexpr int kLuma = qcif::kWidth * qcif::kHeight;
    constexpr int kChromaWidth = qcif::kWidth / 2;
    constexpr int kChroma = kLuma / 4;
    std::string picture(qcif::kPictureBytes, '\0');
    for (int y = 0; y < qcif::kHeight; ++y)
        for (int x = 0; x < qcif::kWidth; ++x)
            picture[y * qcif::kWidth + x] = static_cast<char>(kBars[barAt(x, frameNumber)][0]);
    for (int y = 0; y < qcif::kHeight / 2; ++y)
        for (int x = 0; x < kChromaWidth; ++x) {
            int bar = barAt(2 * x, frameNumber);
            picture[kLuma + y * kChromaWidth + x] = static_cast<char>(kBars[bar][1]);
            picture[kLuma + kChroma + y * kChromaWidth + x] = static_cast<char>(kBars[bar][2]);
        }
    drawNumber(picture, frameNumber);
    return picture;
}
