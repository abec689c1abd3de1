#include "image/DibConvert.h"

#include "image/Palettes.h"
#include "image/Rle.h"

HDIB makeDIB(int width, int height, int bits, uint32_t compression, const Palette& table,
             const std::vector<uint8_t>& data) {
    auto* dib = new DIB;
    const size_t colors = table.colors.size();
    dib->bytes.assign(kInfoHeaderSize + colors * 4, 0);
    uint8_t* p = dib->bytes.data();
    const bool fullTable = bits <= 8 && colors == (1u << bits);
    writeInfoHeader(p, DibHeader{kInfoHeaderSize, width, height, static_cast<uint16_t>(bits),
                                 compression, static_cast<uint32_t>(data.size()),
                                 fullTable ? 0 : static_cast<uint32_t>(colors)});
    for (size_t i = 0; i < colors; ++i) {
        const uint32_t c = table.colors[i];
        uint8_t* e = p + kInfoHeaderSize + i * 4;
        e[0] = c & 0xFF;
        e[1] = c >> 8 & 0xFF;
        e[2] = c >> 16 & 0xFF;
    }
    dib->bytes.insert(dib->bytes.end(), data.begin(), data.end());
    return dib;
}

static uint32_t tableColor(const Palette& table, unsigned index) {
    return index < table.colors.size() ? table.colors[index] : 0xFF000000u;
}

void decodeDibRow(const uint8_t* row, int width, int bits, const Palette& table, uint32_t* out) {
    for (int x = 0; x < width; ++x) {
        switch (bits) {
            case 1:
                out[x] = tableColor(table, row[x / 8] >> (7 - x % 8) & 1);
                break;
            case 4:
                out[x] = tableColor(table, x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4);
                break;
            case 8:
                out[x] = tableColor(table, row[x]);
                break;
            case 16: {
                const unsigned v = readLe16(row + 2 * x);
                const int r = v >> 10 & 31, g = v >> 5 & 31, b = v & 31;
                out[x] = rgbColor(r << 3 | r >> 2, g << 3 | g >> 2, b << 3 | b >> 2);
                break;
            }
            case 24:
                out[x] = rgbColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            case 32:
                out[x] = rgbColor(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
                break;
            default:
                out[x] = 0xFF000000u;
        }
    }
}

static Surface rleToSurface(const DibHeader& h, const Palette& table, const uint8_t* bits,
                            size_t size) {
    Surface out(h.width, h.height);
    const std::vector<uint8_t> px =
        decodeRle(bits, size, h.width, h.height, h.compression == kBiRle4);
    for (int y = 0; y < h.height; ++y) {
        uint32_t* row = out.row(h.height - 1 - y);
        for (int x = 0; x < h.width; ++x)
            row[x] = tableColor(table, px[static_cast<size_t>(y) * h.width + x]);
    }
    return out;
}

Surface DIBToBitmap(HDIB dib, const Palette& /*palette*/) {
    const DibHeader h = DIBHeaderOf(dib);
    if (h.width <= 0 || h.height <= 0) return {};
    const Palette table = CreateDIBPalette(dib);
    const uint8_t* bits = FindDIBBits(dib);
    const size_t available = dib->bytes.data() + dib->bytes.size() - bits;
    if (h.compression == kBiRle8 || h.compression == kBiRle4)
        return rleToSurface(h, table, bits, available);
    Surface out(h.width, h.height);
    const size_t rowSize = DIBRowSize(h.width, h.bitCount);
    for (int y = 0; y < h.height && (y + 1) * rowSize <= available; ++y)
        decodeDibRow(bits + y * rowSize, h.width, h.bitCount, table, out.row(h.height - 1 - y));
    return out;
}

HDIB BitmapToDIB(const Surface& bitmap, const Palette& /*palette*/) {
    if (bitmap.empty()) return nullptr;
    const size_t rowSize = DIBRowSize(bitmap.width, 24);
    std::vector<uint8_t> data(rowSize * bitmap.height, 0);
    for (int y = 0; y < bitmap.height; ++y) {
        const uint32_t* src = bitmap.row(bitmap.height - 1 - y);
        uint8_t* dst = data.data() + y * rowSize;
        for (int x = 0; x < bitmap.width; ++x) {
            dst[3 * x] = src[x] & 0xFF;
            dst[3 * x + 1] = src[x] >> 8 & 0xFF;
            dst[3 * x + 2] = src[x] >> 16 & 0xFF;
        }
    }
    return makeDIB(bitmap.width, bitmap.height, 24, kBiRgb, {}, data);
}

static bool formatAllowed(int bits, uint32_t compression) {
    switch (bits) {
        case 1:
        case 24:
            return compression == kBiRgb;
        case 4:
            return compression == kBiRgb || compression == kBiRle4;
        case 8:
            return compression == kBiRgb || compression == kBiRle8;
        default:
            return false;
    }
}

static std::vector<uint8_t> packIndices(const std::vector<uint8_t>& row, int bits) {
    std::vector<uint8_t> packed(DIBRowSize(static_cast<int>(row.size()), bits), 0);
    for (size_t x = 0; x < row.size(); ++x) {
        if (bits == 8) packed[x] = row[x];
        if (bits == 4) packed[x / 2] |= static_cast<uint8_t>(row[x] << (x % 2 ? 0 : 4));
        if (bits == 1) packed[x / 8] |= static_cast<uint8_t>(row[x] << (7 - x % 8));
    }
    return packed;
}

static HDIB encodeIndexed(const Surface& picture, int bits, uint32_t compression,
                          const Palette& table) {
    NearestColor nearest(table);
    std::vector<uint8_t> data, row(picture.width);
    for (int y = 0; y < picture.height; ++y) {
        const uint32_t* src = picture.row(picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x)
            row[x] = static_cast<uint8_t>(nearest.index(src[x]));
        const bool last = y == picture.height - 1;
        if (compression == kBiRle8) {
            encodeRle8Row(row.data(), picture.width, last, data);
        } else if (compression == kBiRle4) {
            encodeRle4Row(row.data(), picture.width, last, data);
        } else {
            const std::vector<uint8_t> packed = packIndices(row, bits);
            data.insert(data.end(), packed.begin(), packed.end());
        }
    }
    return makeDIB(picture.width, picture.height, bits, compression, table, data);
}

HDIB ChangeDIBFormat(HDIB dib, int bits, uint32_t compression) {
    const DibHeader h = DIBHeaderOf(dib);
    if (h.width <= 0 || h.height <= 0) return nullptr;
    if (bits == 0) bits = h.bitCount;
    if (!formatAllowed(bits, compression)) return nullptr;
    const Surface picture = DIBToBitmap(dib, {});
    if (bits == 24) return BitmapToDIB(picture, {});
    Palette table = CreateDIBPalette(dib);
    if (table.empty() || table.colors.size() > (1u << bits)) table = standardPalette(bits);
    return encodeIndexed(picture, bits, compression, table);
}

HDIB ChangeBitmapFormat(const Surface& bitmap, int bits, uint32_t compression,
                        const Palette& palette) {
    HDIB full = BitmapToDIB(bitmap, palette);
    if (!full) return nullptr;
    HDIB changed = ChangeDIBFormat(full, bits, compression);
    DestroyDIB(full);
    return changed;
}

Palette GetPalette(const Surface& /*bitmap*/) {
    return halftonePalette();
}
