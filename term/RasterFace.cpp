#include "term/RasterFace.h"

#include <fstream>
#include <iterator>

namespace {

constexpr char kMagic[4] = {'Q', 'R', 'F', '1'};
constexpr size_t kHeaderSize = 8;

}  // namespace

bool RasterFace::Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return LoadData({});
    std::string bytes(std::istreambuf_iterator<char>(file), {});
    return LoadData(bytes);
}

bool RasterFace::LoadData(std::string_view bytes) {
    glyphs_.clear();
    offsets_.assign(0x10000, -1);
    if (bytes.size() < kHeaderSize || bytes.substr(0, 4) != std::string_view(kMagic, 4))
        return false;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const uint32_t count = p[4] | p[5] << 8 | p[6] << 16 | uint32_t(p[7]) << 24;
    std::vector<uint8_t> data(p + kHeaderSize, p + bytes.size());
    size_t at = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (at + 3 > data.size()) return false;
        const int code = data[at] | data[at + 1] << 8, width = data[at + 2];
        const size_t size = width == 8 ? 16 : width == 16 ? 32 : 0;
        if (size == 0 || at + 3 + size > data.size()) return false;
        offsets_[code] = static_cast<int32_t>(at + 2);
        at += 3 + size;
    }
    glyphs_ = std::move(data);
    return true;
}

bool RasterFace::Glyph(char32_t code, Glyph16& rows, int& width) const {
    if (code > 0xFFFF || glyphs_.empty() || offsets_[code] < 0) return false;
    const uint8_t* p = glyphs_.data() + offsets_[code];
    width = *p++;
    for (int r = 0; r < kHeight; ++r) {
        rows[r] = static_cast<uint16_t>(width == 8 ? p[r] << 8 : p[2 * r] << 8 | p[2 * r + 1]);
    }
    return true;
}

std::string RasterFace::Serialise(const std::vector<RasterGlyph>& glyphs) {
    std::string out(kMagic, 4);
    const uint32_t count = static_cast<uint32_t>(glyphs.size());
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>(count >> shift);
    for (const RasterGlyph& g : glyphs) {
        out += static_cast<char>(g.code & 0xFF);
        out += static_cast<char>(g.code >> 8);
        out += static_cast<char>(g.width);
        for (uint16_t row : g.rows) {
            out += static_cast<char>(row >> 8);
            if (g.width == 16) out += static_cast<char>(row & 0xFF);
        }
    }
    return out;
}
