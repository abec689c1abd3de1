#include "image/DibFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>

std::optional<BmpLayout> checkBmpHeaders(const uint8_t* p, size_t headSize, size_t fileSize) {
    if (headSize < kFileHeaderSize + kInfoHeaderSize || readLe16(p) != kBmpMagic) return {};
    const uint8_t* info = p + kFileHeaderSize;
    const uint32_t infoSize = readLe32(info);
    if (infoSize < kInfoHeaderSize || infoSize > 124) return {};
    BmpLayout l;
    DibHeader& h = l.header;
    h = readInfoHeader(info);
    h.size = kInfoHeaderSize;
    if (readLe16(info + 12) != 1) return {};
    if (h.width <= 0 || h.height <= 0 || h.width > kMaxPictureSide || h.height > kMaxPictureSide ||
        static_cast<int64_t>(h.width) * h.height > kMaxPicturePixels)
        return {};
    const uint16_t bits = h.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};
    const bool plain = h.compression == kBiRgb;
    if (!plain && !(h.compression == kBiRle8 && bits == 8) &&
        !(h.compression == kBiRle4 && bits == 4))
        return {};
    if (h.clrUsed > 256 || (bits <= 8 && h.clrUsed > (1u << bits))) return {};
    l.colors = h.clrUsed != 0 ? static_cast<int>(h.clrUsed) : bits <= 8 ? 1 << bits : 0;
    l.tableOffset = kFileHeaderSize + infoSize;
    const size_t tableEnd = l.tableOffset + l.colors * 4u;
    const uint32_t offset = readLe32(p + 10);
    l.bitsOffset = offset != 0 ? offset : tableEnd;
    if (l.bitsOffset < tableEnd) return {};
    l.bitsSize = plain ? DIBRowSize(h.width, bits) * h.height : h.sizeImage;
    if (fileSize != 0) {
        if (l.bitsOffset > fileSize) return {};
        if (!plain && l.bitsSize == 0) l.bitsSize = fileSize - l.bitsOffset;
        if (l.bitsSize > fileSize - l.bitsOffset) return {};
    }
    h.sizeImage = static_cast<uint32_t>(l.bitsSize);
    return l;
}

HDIB dibFromBmp(const std::vector<uint8_t>& file) {
    const std::optional<BmpLayout> l = checkBmpHeaders(file.data(), file.size(), file.size());
    if (!l) return nullptr;
    auto* dib = new DIB;
    dib->bytes.assign(kInfoHeaderSize, 0);
    // The table is always complete in memory, so its count is written out.
    DibHeader h = l->header;
    h.clrUsed = static_cast<uint32_t>(l->colors);
    writeInfoHeader(dib->bytes.data(), h);
    const auto table = file.begin() + static_cast<long>(l->tableOffset);
    dib->bytes.insert(dib->bytes.end(), table, table + l->colors * 4);
    const auto bits = file.begin() + static_cast<long>(l->bitsOffset);
    dib->bytes.insert(dib->bytes.end(), bits, bits + static_cast<long>(l->bitsSize));
    return dib;
}

HDIB LoadDIB(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    return dibFromBmp(file);
}

HDIB LoadDIBResource(const std::string& name, const std::string& folder) {
    return LoadDIB(folder + "/" + name + ".bmp");
}

int SaveDIB(HDIB dib, const std::string& path) {
    if (!dib) return kSaveNoDib;
    if (dib->bytes.size() < kCoreHeaderSize) return kSaveCannotLock;
    const uint32_t headerSize = DIBHeaderOf(dib).size;
    const uint32_t bitsOffset = kFileHeaderSize + headerSize + PaletteSize(dib);
    uint8_t fileHeader[kFileHeaderSize] = {};
    writeLe16(fileHeader, kBmpMagic);
    writeLe32(fileHeader + 2, static_cast<uint32_t>(kFileHeaderSize + dib->bytes.size()));
    writeLe32(fileHeader + 10, bitsOffset);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return kSaveCannotWrite;
    bool ok = std::fwrite(fileHeader, 1, sizeof fileHeader, f) == sizeof fileHeader &&
              std::fwrite(dib->bytes.data(), 1, dib->bytes.size(), f) == dib->bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok ? kSaveOk : kSaveCannotWrite;
}
