#pragma once
// RLE8 and RLE4, the run-length codings of 8- and 4-bit DIBs. Rows are bottom-up in both.
#include <cstddef>
#include <cstdint>
#include <vector>

// Appends one row of colour indices (one per pixel), ended by end-of-line, or by end-of-bitmap
// when last is set.
void encodeRle8Row(const uint8_t* indices, int width, bool last, std::vector<uint8_t>& out);
void encodeRle4Row(const uint8_t* indices, int width, bool last, std::vector<uint8_t>& out);

// Decodes into width × height indices, row 0 at the bottom; pixels the data never reaches stay
// 0, and moves outside the picture are dropped.
std::vector<uint8_t> decodeRle(const uint8_t* data, size_t size, int width, int height, bool rle4);
