// Decoding a picture as it arrives against djpeg: a generated 2048×1536 photograph, baseline
// and progressive, fed in 1 KiB pieces into a surface with no display (the input never stalls,
// so a progressive file shows only its final pass), beside `djpeg -outfile /dev/null` on the
// same file. Processor time, median of 5 runs each.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench/Median.h"
#include "image/PictureFeed.h"

namespace {

constexpr int kRuns = 5;
constexpr int kWidth = 2048, kHeight = 1536;
constexpr size_t kPiece = 1024;

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double ownCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

void writePhoto(const std::string& path) {
    std::mt19937 random(42);
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << kWidth << " " << kHeight << "\n255\n";
    std::vector<char> row(kWidth * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int noise = static_cast<int>(random() % 16);
            row[3 * x] = static_cast<char>((x / 8 + noise) & 0xFF);
            row[3 * x + 1] = static_cast<char>((y / 6 + noise) & 0xFF);
            row[3 * x + 2] = static_cast<char>(((x + y) / 14 + noise) & 0xFF);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

double decodeOurs(const std::vector<uint8_t>& file) {
    const double start = ownCpuSeconds();
    FeedLoad feed(PictureEvents{});
    for (size_t at = 0; at < file.size(); at += kPiece) {
        const size_t n = std::min(kPiece, file.size() - at);
        feed.Feed(file.data() + at, n, at + n < file.size());
    }
    feed.Stop();
    if (feed.RowsDecoded() != kHeight) std::printf("  incomplete decode\n");
    return ownCpuSeconds() - start;
}

double decodeDjpeg(const std::string& path) {
    const double before = childCpuSeconds();
    if (std::system(("djpeg -outfile /dev/null '" + path + "'").c_str()) != 0)
        std::printf("  djpeg failed\n");
    return childCpuSeconds() - before;
}

void compare(const char* what, const std::string& path, double limit) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    std::vector<double> ours, peer;
    for (int i = 0; i < kRuns; ++i) {
        ours.push_back(decodeOurs(file));
        peer.push_back(decodeDjpeg(path));
    }
    const double ratio = median(ours) / median(peer);
    std::printf("%-28s ours %6.3f s  djpeg %6.3f s  ratio %.2f (at most %.2f)\n", what,
                median(ours), median(peer), ratio, limit);
}

}  // namespace

int main() {
    const std::string folder = std::filesystem::temp_directory_path() / "quilite-image-bench";
    std::filesystem::create_directories(folder);
    writePhoto(folder + "/photo.ppm");
    if (std::system(("cd '" + folder + "' && cjpeg photo.ppm > baseline.jpg && " +
                     "cjpeg -progressive photo.ppm > progressive.jpg")
                        .c_str()) != 0) {
        std::printf("cjpeg failed\n");
        return 1;
    }
    std::printf("Picture feed, %dx%d in %zu-byte pieces, %d runs each, median processor time\n",
                kWidth, kHeight, kPiece, kRuns);
    compare("baseline JPEG", folder + "/baseline.jpg", 1.25);
    compare("progressive JPEG", folder + "/progressive.jpg", 1.5);
    std::filesystem::remove_all(folder);
    return 0;
}
