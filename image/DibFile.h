#pragma once
// ".bmp" files: reading with every header field checked against the file, and writing.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/Dib.h"

// SaveDIB's results.
constexpr int kSaveOk = 0, kSaveCannotLock = 3, kSaveCannotWrite = 4, kSaveNoDib = 20;
constexpr uint16_t kBmpMagic = 19778;  // "BM"
constexpr int kFileHeaderSize = 14;

// Where the parts of a ".bmp" file lie, once its headers have been checked.
struct BmpLayout {
    DibHeader header;
    size_t tableOffset = 0;  // in the file
    int colors = 0;          // table entries (4 bytes each)
    size_t bitsOffset = 0;
    size_t bitsSize = 0;  // bytes of pixel data the picture needs (RLE: what the header says)
};

// Checks the headers at the start of a ".bmp" file of fileSize bytes (at least 54 of them in
// head): "BM", a 40-byte header (a longer one is read as its first 40 bytes; the 12-byte kind is
// refused), a plain, RLE4 or RLE8 format, at most 256 colours, an offset inside the file, and
// rows that fit the size limits. The bits need not be there yet when fileSize is unknown (0).
std::optional<BmpLayout> checkBmpHeaders(const uint8_t* head, size_t headSize, size_t fileSize);
// A DIB from a whole ".bmp" file in memory; null when a check fails.
HDIB dibFromBmp(const std::vector<uint8_t>& file);

HDIB LoadDIB(const std::string& path);
// The bitmap "name.bmp" in a data folder (the stand-in for a bitmap resource of a module).
HDIB LoadDIBResource(const std::string& name, const std::string& folder);
int SaveDIB(HDIB dib, const std::string& path);
