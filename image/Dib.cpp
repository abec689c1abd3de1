#include "image/Dib.h"

#include <cstring>

uint16_t readLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t readLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void writeLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void writeLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

size_t DIBRowSize(int width, int bits) {
    return (static_cast<size_t>(width) * bits + 31) / 32 * 4;
}

DibHeader DIBHeaderOf(HDIB dib) {
    DibHeader h;
    if (!dib || dib->bytes.size() < kCoreHeaderSize) return h;
    const uint8_t* p = dib->bytes.data();
    h.size = readLe32(p);
    if (h.size == kCoreHeaderSize) {
        h.width = readLe16(p + 4);
        h.height = readLe16(p + 6);
        h.bitCount = readLe16(p + 10);
        return h;
    }
    if (dib->bytes.size() < kInfoHeaderSize) return h;
    return readInfoHeader(p);
}

DibHeader readInfoHeader(const uint8_t* p) {
    DibHeader h;
    h.size = readLe32(p);
    h.width = static_cast<int32_t>(readLe32(p + 4));
    h.height = static_cast<int32_t>(readLe32(p + 8));
    h.bitCount = readLe16(p + 14);
    h.compression = readLe32(p + 16);
    h.sizeImage = readLe32(p + 20);
    h.clrUsed = readLe32(p + 32);
    return h;
}

void writeInfoHeader(uint8_t* p, const DibHeader& h) {
    writeLe32(p, kInfoHeaderSize);
    writeLe32(p + 4, static_cast<uint32_t>(h.width));
    writeLe32(p + 8, static_cast<uint32_t>(h.height));
    writeLe16(p + 12, 1);
    writeLe16(p + 14, h.bitCount);
    writeLe32(p + 16, h.compression);
    writeLe32(p + 20, h.sizeImage);
    writeLe32(p + 32, h.clrUsed);
}

static int roundedBits(int bits) {
    if (bits <= 1) return 1;
    if (bits <= 4) return 4;
    if (bits <= 8) return 8;
    return 24;  // deeper surfaces keep their colours
}

HDIB CreateDIB(int width, int height, int bits) {
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return nullptr;
    bits = roundedBits(bits);
    const int colors = bits == 24 ? 0 : 1 << bits;
    auto* dib = new DIB;
    const size_t imageSize = DIBRowSize(width, bits) * height;
    dib->bytes.assign(kInfoHeaderSize + colors * 4 + imageSize, 0);
    writeInfoHeader(dib->bytes.data(),
                    DibHeader{kInfoHeaderSize, width, height, static_cast<uint16_t>(bits), kBiRgb,
                              static_cast<uint32_t>(imageSize), 0});
    return dib;
}

int DIBNumColors(HDIB dib) {
    const DibHeader h = DIBHeaderOf(dib);
    if (h.size == kInfoHeaderSize && h.clrUsed != 0) return static_cast<int>(h.clrUsed);
    switch (h.bitCount) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

int PaletteSize(HDIB dib) {
    return DIBNumColors(dib) * (DIBHeaderOf(dib).size == kCoreHeaderSize ? 3 : 4);
}

uint8_t* FindDIBBits(HDIB dib) {
    if (!dib) return nullptr;
    return dib->bytes.data() + DIBHeaderOf(dib).size + PaletteSize(dib);
}

int DIBWidth(HDIB dib) {
    return DIBHeaderOf(dib).width;
}

int DIBHeight(HDIB dib) {
    return DIBHeaderOf(dib).height;
}

size_t DIBImageSize(HDIB dib) {
    const DibHeader h = DIBHeaderOf(dib);
    if (h.sizeImage != 0) return h.sizeImage;
    return DIBRowSize(h.width, h.bitCount) *
           static_cast<size_t>(h.height < 0 ? -h.height : h.height);
}

Palette CreateDIBPalette(HDIB dib) {
    Palette palette;
    const int colors = DIBNumColors(dib);
    if (colors == 0) return palette;
    const int entry = DIBHeaderOf(dib).size == kCoreHeaderSize ? 3 : 4;
    const uint8_t* table = dib->bytes.data() + DIBHeaderOf(dib).size;
    for (int i = 0; i < colors; ++i) {
        const uint8_t* e = table + i * entry;
        palette.colors.push_back(rgbColor(e[2], e[1], e[0]));
    }
    return palette;
}

void DestroyDIB(HDIB dib) {
    delete dib;
}
