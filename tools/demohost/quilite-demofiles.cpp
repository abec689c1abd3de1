// quilite-demofiles DIR: writes the demo host's download files into DIR: a Korean text in
// CP949, 1 MiB of seeded random bytes, a file with a Korean name, and a picture as a PPM that
// the build turns into a JPEG.
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "platform/TextCodec.h"

namespace {

void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string koreanText() {
    std::string text;
    for (int i = 1; i <= 40; ++i) {
        text += std::to_string(i) +
                ". 동해 물과 백두산이 마르고 닳도록, 우리 모두 즐겁게 "
                "통신합시다.\r\n";
    }
    return utf8ToCp949(text).value_or("");
}

std::string randomBytes(size_t size) {
    std::mt19937 generator(20261208);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(generator() & 0xFF);
    return bytes;
}

// A 160x120 colour gradient with a light disc in the middle.
std::string picture() {
    const int w = 160, h = 120;
    std::string ppm = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2, dy = y - h / 2;
            const bool disc = dx * dx + dy * dy < 30 * 30;
            ppm += static_cast<char>(disc ? 250 : x * 255 / w);
            ppm += static_cast<char>(disc ? 230 : y * 255 / h);
            ppm += static_cast<char>(disc ? 120 : 160);
        }
    }
    return ppm;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quilite-demofiles DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    write(dir + "/korean.txt", koreanText());
    write(dir + "/random.bin", randomBytes(1 << 20));
    write(dir + "/한글자료.txt", utf8ToCp949("한글 이름을 가진 자료입니다.\r\n").value_or(""));
    write(dir + "/picture.ppm", picture());
    return 0;
}
