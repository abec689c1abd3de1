#include "tests/image/PictureFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

Surface seededPicture(int width, int height, int colors, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint32_t> palette;
    for (int i = 0; i < colors; ++i)
        palette.push_back(rgbColor(random() % 256, random() % 256, random() % 256));
    Surface picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t block = (x / 8 * 31 + y / 4 * 17 + seed) % colors;
            const bool odd = random() % 11 == 0;
            picture.at(x, y) = palette[odd ? random() % colors : block];
        }
    return picture;
}

Surface seededPhoto(int width, int height, uint32_t seed) {
    std::mt19937 random(seed);
    Surface picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int noise = static_cast<int>(random() % 24);
            picture.at(x, y) =
                rgbColor((x * 255 / width + noise) % 256, (y * 255 / height + noise) % 256,
                         ((x + y) * 128 / (width + height) + 64 + noise) % 256);
        }
    return picture;
}

void writePpm(const Surface& picture, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << " " << picture.height << "\n255\n";
    for (uint32_t c : picture.pixels) {
        const char rgb[3] = {static_cast<char>(c >> 16), static_cast<char>(c >> 8),
                             static_cast<char>(c)};
        out.write(rgb, 3);
    }
}

static Surface readPbmBits(std::ifstream& in, int width, int height) {
    in.get();
    const size_t rowBytes = (width + 7) / 8;
    std::vector<unsigned char> data(rowBytes * height);
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!in || width <= 0) return {};
    Surface picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool black = data[y * rowBytes + x / 8] >> (7 - x % 8) & 1;
            picture.at(x, y) = black ? rgbColor(0, 0, 0) : rgbColor(255, 255, 255);
        }
    return picture;
}

Surface readPnm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height;
    if (magic == "P4") return readPbmBits(in, width, height);
    in >> maxval;
    in.get();
    if (!in || (magic != "P6" && magic != "P5") || maxval != 255 || width <= 0 || height <= 0)
        return {};
    const int channels = magic == "P6" ? 3 : 1;
    std::vector<unsigned char> data(static_cast<size_t>(width) * height * channels);
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!in) return {};
    Surface picture(width, height);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const unsigned char* p = &data[i * channels];
        picture.pixels[i] = channels == 3 ? rgbColor(p[0], p[1], p[2]) : rgbColor(p[0], p[0], p[0]);
    }
    return picture;
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ScratchFolder::ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quilite-image-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
