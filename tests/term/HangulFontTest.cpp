// The Hangul bitmap font: the four file layouts, the glyph each jamo of a syllable takes (proven
// with a synthetic font whose glyphs spell their own set and index), rejected files, the pairs
// left to the window font, and how close the shipped font comes to Unifont's own syllables.
#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <fstream>

#include "platform/TextCodec.h"
#include "term/HangulCodes.h"
#include "term/HangulFont.h"
#include "term/RasterFace.h"
#include "tools/UnifontHex.h"

namespace {

struct Layout {
    size_t header;
    int perSet[3];
    bool extra;
};

// Glyph i of set s carries (s << 8 | i + 1) in row 0 (initial sets), 1 (vowel) or 2 (final);
// header bytes and the extra glyphs are solid ink, so taking one by mistake shows.
std::string syntheticFont(const Layout& layout) {
    std::string bytes(layout.header, '\xFF');
    for (int set = 0; set < 16; ++set) {
        const int kind = set < 8 ? 0 : set < 12 ? 1 : 2;
        if (layout.extra) bytes.append(32, '\xFF');
        for (int i = 0; i < layout.perSet[kind]; ++i) {
            std::string glyph(32, '\0');
            glyph[2 * kind] = static_cast<char>(set);
            glyph[2 * kind + 1] = static_cast<char>(i + 1);
            bytes += glyph;
        }
    }
    return bytes;
}

constexpr Layout kLayouts[] = {
    {256, {23, 23, 31}, false},
    {0, {23, 23, 31}, false},
    {0, {19, 21, 27}, false},
    {0, {19, 21, 27}, true},
};

// (set, index) of the glyph a jamo came from; {0, -1} when it added nothing.
struct Pick {
    int set, index;
    bool operator==(const Pick&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Pick& p) {
    return os << "(" << p.set << "," << p.index << ")";
}
Pick pickOf(uint16_t row) {
    return {row >> 8, (row & 0xFF) - 1};
}
constexpr Pick kNone{0, -1};

struct Case {
    int initial, vowel, final;  // Johab component codes
    Pick ini, vow, fin;
};

// Every branch of the choice of forms: vowel shapes with and without a final, the hooked
// initials ㄱ and ㅋ, final forms by vowel, and the glyph order around the unused codes.
constexpr Case kCases[] = {
    {2, 3, 1, {0, 0}, {8, 0}, kNone},           // 가
    {2, 3, 2, {5, 0}, {10, 0}, {12, 0}},        // 각
    {20, 29, 23, {5, 18}, {11, 20}, {13, 20}},  // 힝
    {4, 3, 29, {5, 2}, {11, 0}, {12, 26}},      // 낳
    {4, 13, 1, {1, 2}, {9, 8}, kNone},          // 노
    {4, 20, 1, {2, 2}, {9, 13}, kNone},         // 누
    {4, 14, 1, {3, 2}, {9, 9}, kNone},          // 놔
    {4, 21, 1, {4, 2}, {9, 14}, kNone},         // 눠
    {4, 13, 2, {6, 2}, {11, 8}, {15, 0}},       // 녹
    {3, 14, 2, {7, 1}, {11, 9}, {12, 0}},       // 꽉
    {17, 4, 1, {0, 15}, {8, 1}, kNone},         // 캐
    {17, 4, 2, {5, 15}, {10, 1}, {14, 0}},      // 캑
    {2, 7, 9, {5, 0}, {10, 4}, {13, 7}},        // 걸
    {2, 3, 17, {5, 0}, {10, 0}, {12, 15}},      // 감
    {2, 3, 19, {5, 0}, {10, 0}, {12, 16}},      // 갑
    {2, 3, 20, {5, 0}, {10, 0}, {12, 17}},      // 값
};

std::string tempPath(const char* name) {
    return ::testing::TempDir() + name + std::to_string(getpid());
}

TEST(HangulFont, EveryLayoutFeedsTheSameGlyphsToEachSyllable) {
    for (const Layout& layout : kLayouts) {
        std::string bytes = syntheticFont(layout);
        SCOPED_TRACE(bytes.size());
        HangulFont font;
        ASSERT_TRUE(font.LoadData(bytes));
        for (const Case& c : kCases) {
            uint8_t lead = static_cast<uint8_t>(0x80 | c.initial << 2 | c.vowel >> 3);
            uint8_t trail = static_cast<uint8_t>((c.vowel & 7) << 5 | c.final);
            JohabToKs(lead, trail);
            SCOPED_TRACE(testing::Message() << std::hex << (lead << 8 | trail));
            Glyph16 g;
            ASSERT_TRUE(font.Compose(lead, trail, g));
            EXPECT_EQ(pickOf(g[0]), c.ini);
            EXPECT_EQ(pickOf(g[1]), c.vow);
            EXPECT_EQ(pickOf(g[2]), c.fin);
            for (int r = 3; r < 16; ++r)
                EXPECT_EQ(g[r], 0);
        }
        // A compound-final jamo is drawn by its final glyph alone.
        Glyph16 g;
        ASSERT_TRUE(font.Compose(0xA4, 0xA3, g));  // ㄳ
        EXPECT_EQ(pickOf(g[0]), kNone);
        EXPECT_EQ(pickOf(g[1]), kNone);
        EXPECT_EQ(pickOf(g[2]), (Pick{12, 2}));
    }
}

TEST(HangulFont, PairsOutsideTheCompositionTableAreLeftToTheWindowFont) {
    HangulFont font;
    ASSERT_TRUE(font.LoadData(syntheticFont(kLayouts[2])));
    Glyph16 g;
    EXPECT_FALSE(font.Compose(0xA4, 0xD4, g));  // archaic jamo
    EXPECT_FALSE(font.Compose(0x81, 0x41, g));  // CP949 extended syllable
    EXPECT_FALSE(font.Compose(0xB0, 0x41, g));  // extended syllable with a KS lead byte
    EXPECT_FALSE(font.Compose(0xCA, 0xA1, g));  // hanja
    EXPECT_FALSE(font.Compose(0xA1, 0xA1, g));  // symbol
    EXPECT_TRUE(font.Compose(0xA4, 0xD3, g));   // ㅣ, the last modern jamo
}

TEST(HangulFont, FilesOfOtherSizesOrMissingAreRejectedAndUnloadTheFont) {
    HangulFont font;
    ASSERT_TRUE(font.LoadData(syntheticFont(kLayouts[1])));
    std::string path = tempPath("font-12801");
    std::ofstream(path, std::ios::binary) << std::string(12801, '\0');
    EXPECT_FALSE(font.Load(path));
    EXPECT_FALSE(font.Loaded());
    Glyph16 g;
    EXPECT_FALSE(font.Compose(0xB0, 0xA1, g));
    EXPECT_FALSE(font.Load(path + "-missing"));
    std::ofstream(path, std::ios::binary) << syntheticFont(kLayouts[3]);
    EXPECT_TRUE(font.Load(path));
    std::remove(path.c_str());
}

// The composed syllables of the shipped font against Unifont's precomposed glyphs.
TEST(DefaultHangulFont, ComposedSyllablesAgreeWithUnifont) {
    HangulFont font;
    ASSERT_TRUE(font.Load(QUILITE_BINARY_DIR "/data/Fonts/Hangul.hft"));
    auto unifont = readUnifontHex("/usr/share/unifont/unifont.hex");
    ASSERT_FALSE(unifont.empty());
    int syllables = 0, identical = 0, worst = 256;
    long differing = 0;
    for (int lead = 0xB0; lead <= 0xC8; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            Glyph16 composed;
            ASSERT_TRUE(font.Compose(lead, trail, composed));
            std::string utf8 = cp949ToUtf8(std::string{char(lead), char(trail)}).value();
            char32_t code = (utf8[0] & 0x0F) << 12 | (utf8[1] & 0x3F) << 6 | (utf8[2] & 0x3F);
            const Glyph16& reference = unifont.at(code).rows;
            int diff = 0;
            for (int r = 0; r < 16; ++r)
                diff += std::popcount(unsigned(composed[r] ^ reference[r]));
            ++syllables;
            identical += diff == 0;
            differing += diff;
            worst = std::min(worst, 256 - diff);
        }
    }
    const double agreement = 1.0 - double(differing) / (syllables * 256.0);
    std::printf(
        "default .hft: %d of %d KS syllables identical to unifont, %.2f%% of pixels "
        "agree, worst glyph %d/256 pixels\n",
        identical, syllables, 100.0 * agreement, worst);
    RecordProperty("identical", identical);
    EXPECT_EQ(syllables, 2350);
    EXPECT_GE(identical, 2000);
    EXPECT_GE(agreement, 0.99);
    EXPECT_GE(worst, 192);
}

TEST(RasterFace, ReadsWhatItWroteAndRejectsTruncatedFiles) {
    Glyph16 a{}, wide{};
    a[3] = 0x1800;
    wide[15] = 0x8001;
    std::string file = RasterFace::Serialise({{'A', 8, a}, {0xAC00, 16, wide}});
    RasterFace face;
    ASSERT_TRUE(face.LoadData(file));
    Glyph16 rows;
    int width = 0;
    ASSERT_TRUE(face.Glyph('A', rows, width));
    EXPECT_EQ(width, 8);
    EXPECT_EQ(rows, a);
    ASSERT_TRUE(face.Glyph(0xAC00, rows, width));
    EXPECT_EQ(width, 16);
    EXPECT_EQ(rows, wide);
    EXPECT_FALSE(face.Glyph('B', rows, width));
    EXPECT_FALSE(face.LoadData(file.substr(0, file.size() - 1)));
    EXPECT_FALSE(face.Loaded());
}

TEST(RasterFace, TheShippedFaceHasUnifontsGlyphs) {
    RasterFace face;
    ASSERT_TRUE(face.Load(QUILITE_BINARY_DIR "/data/Fonts/raster8x16.qrf"));
    auto unifont = readUnifontHex("/usr/share/unifont/unifont.hex");
    Glyph16 rows;
    int width = 0;
    for (char32_t code : {U'A', U'\u2500', U'\uAC00', U'\u4E00'}) {
        ASSERT_TRUE(face.Glyph(code, rows, width));
        EXPECT_EQ(width, unifont.at(code).width);
        EXPECT_EQ(rows, unifont.at(code).rows);
    }
}

}  // namespace
