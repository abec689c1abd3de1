#pragma once
// Device-independent bitmaps: one block holding a 40-byte BITMAPINFOHEADER (the 12-byte
// BITMAPCOREHEADER is understood when reading), the colour table and the rows (bottom-up, each
// padded to 4 bytes, or RLE4/RLE8 data). No Qt; the Go board paints with these as well.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/Surface.h"

struct DIB {
    std::vector<uint8_t> bytes;
};
using HDIB = DIB*;  // null: no DIB

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2;
constexpr int kInfoHeaderSize = 40, kCoreHeaderSize = 12;
// Pictures larger than this on a side, or in all, are refused.
constexpr int kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = 64ll * 1024 * 1024;

// The header fields that matter, from either header kind.
struct DibHeader {
    uint32_t size = 0;  // 40 or 12
    int32_t width = 0, height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;
};

uint16_t readLe16(const uint8_t* p);
uint32_t readLe32(const uint8_t* p);
void writeLe16(uint8_t* p, uint16_t v);
void writeLe32(uint8_t* p, uint32_t v);

// Bytes of one uncompressed row: ((width × bits + 31) / 32) × 4.
size_t DIBRowSize(int width, int bits);
DibHeader DIBHeaderOf(HDIB dib);
// The fields of a 40-byte header at p, and writing one.
DibHeader readInfoHeader(const uint8_t* p);
void writeInfoHeader(uint8_t* p, const DibHeader& h);

HDIB CreateDIB(int width, int height, int bits);
uint8_t* FindDIBBits(HDIB dib);
int DIBWidth(HDIB dib);
int DIBHeight(HDIB dib);
int DIBNumColors(HDIB dib);
int PaletteSize(HDIB dib);
// Size of the pixel data: the header's image size, or row size × height when that is 0.
size_t DIBImageSize(HDIB dib);
Palette CreateDIBPalette(HDIB dib);
void DestroyDIB(HDIB dib);
