#include "image/Rle.h"

namespace {

constexpr int kMaxRun = 255;

int runLength(const uint8_t* px, int from, int width) {
    int n = 1;
    while (from + n < width && n < kMaxRun && px[from + n] == px[from])
        ++n;
    return n;
}

// Pixels from `from` up to the next pair of equal pixels (which starts a run).
int literalLength(const uint8_t* px, int from, int width) {
    int j = from;
    while (j < width && j - from < kMaxRun && !(j + 1 < width && px[j] == px[j + 1]))
        ++j;
    return j - from;
}

}  // namespace

// Absolute stretches of three pixels or more, runs of equal pixels otherwise; a 4-bit run
// repeats one nibble.
static void encodeRow(const uint8_t* px, int width, bool last, bool rle4,
                      std::vector<uint8_t>& out) {
    int i = 0;
    while (i < width) {
        const int run = runLength(px, i, width);
        const int literal = run >= 2 ? 0 : literalLength(px, i, width);
        if (literal < 3) {
            const uint8_t c = rle4 ? static_cast<uint8_t>((px[i] & 0x0F) * 0x11) : px[i];
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(c);
            i += run;
            continue;
        }
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(literal));
        const size_t start = out.size();
        if (rle4) {
            for (int k = 0; k < literal; k += 2) {
                const uint8_t lo = k + 1 < literal ? px[i + k + 1] & 0x0F : 0;
                out.push_back(static_cast<uint8_t>((px[i + k] & 0x0F) << 4 | lo));
            }
        } else {
            out.insert(out.end(), px + i, px + i + literal);
        }
        if ((out.size() - start) % 2) out.push_back(0);
        i += literal;
    }
    out.push_back(0);
    out.push_back(last ? 1 : 0);
}

void encodeRle8Row(const uint8_t* px, int width, bool last, std::vector<uint8_t>& out) {
    encodeRow(px, width, last, false, out);
}

void encodeRle4Row(const uint8_t* px, int width, bool last, std::vector<uint8_t>& out) {
    encodeRow(px, width, last, true, out);
}

std::vector<uint8_t> decodeRle(const uint8_t* d, size_t size, int width, int height, bool rle4) {
    std::vector<uint8_t> px(static_cast<size_t>(width) * height, 0);
    int x = 0, y = 0;
    auto put = [&](uint8_t v) {
        if (x >= 0 && x < width && y >= 0 && y < height) px[static_cast<size_t>(y) * width + x] = v;
        ++x;
    };
    auto pixel = [rle4](uint8_t byte, int k) -> uint8_t {
        if (!rle4) return byte;
        return k % 2 == 0 ? byte >> 4 : byte & 0x0F;
    };
    size_t pos = 0;
    while (pos + 1 < size && y < height) {
        const uint8_t a = d[pos], b = d[pos + 1];
        pos += 2;
        if (a > 0) {
            for (int k = 0; k < a; ++k)
                put(pixel(b, k));
            continue;
        }
        if (b == 0) {
            x = 0;
            ++y;
        } else if (b == 1) {
            break;
        } else if (b == 2) {
            if (pos + 1 >= size) break;
            x += d[pos];
            y += d[pos + 1];
            pos += 2;
        } else {
            const size_t bytes = rle4 ? (b + 1u) / 2 : b;
            for (int k = 0; k < b && pos + (rle4 ? k / 2 : k) < size; ++k)
                put(pixel(d[pos + (rle4 ? k / 2 : k)], k));
            pos += bytes + (bytes % 2);
        }
    }
    return px;
}
