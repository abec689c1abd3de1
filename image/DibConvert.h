#pragma once
// Between DIBs and surfaces, and from one DIB format to another.
#include "image/Dib.h"
#include "image/Surface.h"

// A new DIB with a 40-byte header from its parts; table empty for 16 bits and more.
HDIB makeDIB(int width, int height, int bits, uint32_t compression, const Palette& table,
             const std::vector<uint8_t>& data);

// One uncompressed row of `bits` bits per pixel into 0xFFRRGGBB pixels; indices beyond the
// table give black.
void decodeDibRow(const uint8_t* row, int width, int bits, const Palette& table, uint32_t* out);

// The picture of a DIB (any of its formats) on a new surface; the palette is realised first,
// which on a true-colour surface changes nothing. Empty for no DIB.
Surface DIBToBitmap(HDIB dib, const Palette& palette);
// A DIB of the bitmap's colours. Surfaces are 32 bits deep: the DIB has 24 bits per pixel.
HDIB BitmapToDIB(const Surface& bitmap, const Palette& palette);
// A re-encoded copy: 1, 4 (plain or RLE4), 8 (plain or RLE8) or 24 (plain) bits; bits 0 keeps
// the depth. Fewer colours take the nearest of the source's own table when it fits, else of the
// standard palette. Null for any other combination.
HDIB ChangeDIBFormat(HDIB dib, int bits, uint32_t compression);
HDIB ChangeBitmapFormat(const Surface& bitmap, int bits, uint32_t compression,
                        const Palette& palette);
// The palette a bitmap is shown with: surfaces have no colour table, so the halftone palette.
Palette GetPalette(const Surface& bitmap);
