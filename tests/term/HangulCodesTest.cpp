// Johab <-> CP949 conversion checked code by code against glibc iconv, the independent reference
// on this machine, and row arithmetic where iconv has no character.
#include <iconv.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Cp949Layout.h"
#include "term/HangulCodes.h"
#include "term/JohabKsTable.h"

namespace {

// One iconv character set, used for single double-byte codes.
class Charset {
public:
    explicit Charset(const char* name)
        : toUnicode_(iconv_open("UTF-32BE", name)), fromUnicode_(iconv_open(name, "UTF-32BE")) {}
    ~Charset() {
        iconv_close(toUnicode_);
        iconv_close(fromUnicode_);
    }
    Charset(const Charset&) = delete;
    Charset& operator=(const Charset&) = delete;

    bool ok() const { return toUnicode_ != kFailed && fromUnicode_ != kFailed; }

    // The one character a double-byte code stands for; nothing when the set rejects the code.
    std::optional<char32_t> decode(uint16_t code) {
        std::string out = run(toUnicode_, {char(code >> 8), char(code)}, 8);
        if (out.size() != 4) return std::nullopt;
        char32_t ch = 0;
        for (unsigned char b : out)
            ch = ch << 8 | b;
        return ch;
    }

    // The double-byte code of a character; nothing when the set has none.
    std::optional<uint16_t> encode(char32_t ch) {
        std::string in = {char(ch >> 24), char(ch >> 16), char(ch >> 8), char(ch)};
        std::string out = run(fromUnicode_, in, 8);
        if (out.size() != 2) return std::nullopt;
        return uint16_t(uint8_t(out[0]) << 8 | uint8_t(out[1]));
    }

private:
    static inline const iconv_t kFailed = reinterpret_cast<iconv_t>(-1);

    // Converts all of in, or returns an empty string.
    static std::string run(iconv_t cd, std::string in, size_t room) {
        std::string out(room, '\0');
        char* inPtr = in.data();
        char* outPtr = out.data();
        size_t inLeft = in.size(), outLeft = room;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0) return {};
        out.resize(room - outLeft);
        return out;
    }

    iconv_t toUnicode_;
    iconv_t fromUnicode_;
};

// The KS side of the reference: CP949 first, then EUC-KR. glibc's CP949 lacks KS 0xA2E8 (U+327E)
// although its EUC-KR and JOHAB (0xD9E8) have it.
class KsReference {
public:
    std::optional<char32_t> decode(uint16_t code) {
        auto ch = cp949_.decode(code);
        return ch ? ch : eucKr_.decode(code);
    }
    std::optional<uint16_t> encode(char32_t ch) {
        auto code = cp949_.encode(ch);
        return code ? code : eucKr_.encode(ch);
    }
    bool ok() const { return cp949_.ok() && eucKr_.ok(); }

private:
    Charset cp949_{"CP949"};
    Charset eucKr_{"EUC-KR"};
};

uint16_t johabToKs(uint16_t code) {
    uint8_t lead = uint8_t(code >> 8), trail = uint8_t(code);
    JohabToKs(lead, trail);
    return uint16_t(lead << 8 | trail);
}

uint16_t ksToJohab(uint16_t code) {
    uint8_t lead = uint8_t(code >> 8), trail = uint8_t(code);
    KsToJohab(lead, trail);
    return uint16_t(lead << 8 | trail);
}

bool isKsByte(int b) {
    return b >= 0xA1 && b <= 0xFE;
}

// Every double-byte code with a lead of 0x80 or more.
std::vector<uint16_t> allHighCodes() {
    std::vector<uint16_t> codes;
    for (int code = 0x8000; code <= 0xFFFF; ++code)
        codes.push_back(uint16_t(code));
    return codes;
}

// The published Johab arrangement of the KS symbol rows 0xA1-0xAC and hanja rows 0xCA-0xFD,
// cell by cell: two KS rows share a Johab lead (0xD9... and 0xE0...); the first row moves its
// trails 0xA1-0xEE to 0x31-0x7E and 0xEF-0xFE to 0x91-0xA0. Indexed by KS code, 0 elsewhere.
std::vector<uint16_t> symbolAndHanjaRows() {
    std::vector<uint16_t> johabOf(0x10000, 0);
    for (int row = 0xA1; row <= 0xFD; ++row) {
        bool symbols = row <= 0xAC, hanja = row >= 0xCA;
        if (!symbols && !hanja) continue;
        int offset = row - (symbols ? 0xA1 : 0xCA);
        int lead = (symbols ? 0xD9 : 0xE0) + offset / 2;
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            int johabTrail = offset % 2 ? trail : trail <= 0xEE ? trail - 0x70 : trail - 0x5E;
            johabOf[row << 8 | trail] = uint16_t(lead << 8 | johabTrail);
        }
    }
    return johabOf;
}

std::vector<uint16_t> invert(const std::vector<uint16_t>& map) {
    std::vector<uint16_t> inverse(0x10000, 0);
    for (size_t from = 0; from < map.size(); ++from) {
        if (map[from]) inverse[map[from]] = uint16_t(from);
    }
    return inverse;
}

bool isSyllable(char32_t ch) {
    return ch >= 0xAC00 && ch <= 0xD7A3;
}
bool isJamo(char32_t ch) {
    return ch >= 0x3131 && ch <= 0x318E;
}
bool isHanja(char32_t ch) {
    return (ch >= 0x4E00 && ch <= 0x9FFF) || (ch >= 0xF900 && ch <= 0xFAFF);
}

struct Counts {
    int syllables = 0, jamo = 0, hanja = 0, symbols = 0;
    void add(char32_t ch) {
        if (isSyllable(ch)) {
            ++syllables;
        } else if (isJamo(ch)) {
            ++jamo;
        } else if (isHanja(ch)) {
            ++hanja;
        } else {
            ++symbols;
        }
    }
};

class HangulCodesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(johab_.ok() && ks_.ok()) << "glibc iconv modules missing"; }

    Charset johab_{"JOHAB"};
    KsReference ks_;
};

TEST_F(HangulCodesTest, JohabToKsMatchesIconvForEveryJohabCharacter) {
    Counts seen;
    for (uint16_t code : allHighCodes()) {
        auto ch = johab_.decode(code);
        if (!ch) continue;
        auto expected = ks_.encode(*ch);
        ASSERT_TRUE(expected) << std::hex << "iconv has no KS code for Johab " << code;
        ASSERT_EQ(johabToKs(code), *expected)
            << std::hex << "Johab " << code << " U+" << uint32_t(*ch);
        seen.add(*ch);
    }
    EXPECT_EQ(seen.syllables, 11172);
    EXPECT_EQ(seen.jamo, 94);  // 51 modern, the Hangul filler and 42 old jamo
    EXPECT_EQ(seen.hanja, 4888);
    EXPECT_GE(seen.symbols, 892);  // rows 0xA1-0xAC without the jamo; glibc adds €, ® and ㉾
}

TEST_F(HangulCodesTest, KsToJohabMatchesIconvForEveryCp949Character) {
    Counts seen;
    for (uint16_t code : allHighCodes()) {
        auto ch = ks_.decode(code);
        if (!ch) continue;
        EXPECT_TRUE(IsCp949Pair(uint8_t(code >> 8), uint8_t(code))) << std::hex << code;
        auto expected = johab_.encode(*ch);
        ASSERT_TRUE(expected) << std::hex << "iconv has no Johab code for KS " << code;
        ASSERT_EQ(ksToJohab(code), *expected)
            << std::hex << "KS " << code << " U+" << uint32_t(*ch);
        seen.add(*ch);
    }
    EXPECT_EQ(seen.syllables, 11172);  // 2350 in KS C 5601, 8822 more in CP949
    EXPECT_EQ(seen.jamo, 94);
    EXPECT_EQ(seen.hanja, 4888);
    EXPECT_GE(seen.symbols, 892);  // rows 0xA1-0xAC without the jamo; glibc adds €, ® and ㉾
}

// Cells of the symbol and hanja rows that iconv leaves unassigned (unused KS cells, and Johab
// 0xDA 0xA1-0xD3, which repeats the jamo the Hangul area already codes) still convert by the
// row arithmetic; the arithmetic itself is checked against iconv on every assigned cell.
TEST_F(HangulCodesTest, SymbolAndHanjaRowsFollowRowArithmetic) {
    const auto johabOf = symbolAndHanjaRows();
    int assigned = 0, unassigned = 0, jamo = 0;
    for (uint16_t ks : allHighCodes()) {
        uint16_t johab = johabOf[ks];
        if (!johab) continue;
        auto ch = ks_.decode(ks);
        auto iconvJohab = ch ? johab_.encode(*ch) : std::nullopt;
        if (iconvJohab && *iconvJohab != johab) {
            EXPECT_TRUE(isJamo(*ch)) << std::hex << "KS " << ks;  // coded in the Hangul area
            ++jamo;
        } else if (iconvJohab) {
            ++assigned;
        } else {
            ++unassigned;
            EXPECT_EQ(ksToJohab(ks), johab) << std::hex << "KS " << ks;
            EXPECT_EQ(johabToKs(johab), ks) << std::hex << "Johab " << johab;
        }
    }
    EXPECT_EQ(jamo, 51);
    EXPECT_GE(assigned, 4888 + 900);
    EXPECT_GT(unassigned, 0);
    EXPECT_EQ(jamo + assigned + unassigned, 64 * 94) << "rows 0xA1-0xAC and 0xCA-0xFD";

    for (int trail = 0xA1; trail <= 0xD3; ++trail) {
        uint16_t johab = uint16_t(0xDA00 | trail);
        EXPECT_FALSE(johab_.decode(johab));
        EXPECT_EQ(johabToKs(johab), 0xA400 | trail) << std::hex << trail;
    }
}

TEST_F(HangulCodesTest, CodesOutsideBothSetsFallBackToTheFirstSyllable) {
    const auto ksOf = invert(symbolAndHanjaRows());
    int johabRejected = 0, ksRejected = 0;
    for (uint16_t code : allHighCodes()) {
        if (!johab_.decode(code) && !ksOf[code]) {
            ++johabRejected;
            EXPECT_EQ(johabToKs(code), 0xB0A1) << std::hex << "Johab " << code;
        }
        bool inKsGrid = isKsByte(code >> 8) && isKsByte(code & 0xFF);
        bool byRows =
            inKsGrid && ((code >> 8) <= 0xAC || ((code >> 8) >= 0xCA && (code >> 8) <= 0xFD));
        if (!ks_.decode(code) && !byRows) {
            ++ksRejected;
            EXPECT_EQ(ksToJohab(code), 0x8861) << std::hex << "KS " << code;
        }
    }
    EXPECT_GT(johabRejected, 10000);
    EXPECT_GT(ksRejected, 10000);
}

TEST_F(HangulCodesTest, EveryConvertedCodeComesBack) {
    for (uint16_t code : allHighCodes()) {
        uint8_t lead = uint8_t(code >> 8), trail = uint8_t(code);
        if (!IsCp949Pair(lead, trail)) continue;
        uint16_t johab = ksToJohab(code);
        if (johab == 0x8861 && code != 0xB0A1) continue;
        EXPECT_EQ(johabToKs(johab), code) << std::hex << code << " via " << johab;
    }
}

TEST_F(HangulCodesTest, Cp949PairsAreTheDefinedCodesAndTheKsGrid) {
    int pairs = 0;
    for (int lead = 0; lead <= 0xFF; ++lead) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            uint16_t code = uint16_t(lead << 8 | trail);
            bool expected =
                (lead >= 0x80 && ks_.decode(code)) || (isKsByte(lead) && isKsByte(trail));
            ASSERT_EQ(IsCp949Pair(uint8_t(lead), uint8_t(trail)), expected) << std::hex << code;
            pairs += expected;
        }
    }
    EXPECT_EQ(pairs, 8822 + 94 * 94);
}

TEST(HangulCodes, NamedCases) {
    EXPECT_EQ(johabToKs(0x8861), 0xB0A1);  // 가
    EXPECT_EQ(ksToJohab(0xB0A1), 0x8861);
    EXPECT_EQ(johabToKs(0xD931), 0xA1A1);  // ideographic space
    EXPECT_EQ(ksToJohab(0xA2A1), 0xD9A1);
    EXPECT_EQ(ksToJohab(0xCAA1), 0xE031);  // first hanja
    EXPECT_EQ(johabToKs(0x8444), 0xA4A3);  // ㄳ
    EXPECT_EQ(ksToJohab(0xA4A3), 0x8444);
    EXPECT_EQ(johabToKs(0x8841), 0xA4A1);  // ㄱ
    EXPECT_EQ(johabToKs(0x8461), 0xA4BF);  // ㅏ

    // Syllables KS C 5601 lacks keep their identity as CP949 extended codes.
    EXPECT_EQ(johabToKs(0x99B1), 0x8C63);  // 똠
    EXPECT_EQ(ksToJohab(0x8C63), 0x99B1);
    EXPECT_EQ(johabToKs(0x8863), 0x8141);  // 갂, the first extended syllable
    EXPECT_EQ(ksToJohab(0x8141), 0x8863);
    EXPECT_EQ(johabToKs(0xD3BD), 0xC652);  // 힣, the last one
    EXPECT_EQ(ksToJohab(0xC652), 0xD3BD);
    EXPECT_EQ(ksToJohab(0xA4D4), 0xDAD4);  // Hangul filler
    EXPECT_EQ(ksToJohab(0xA4FE), 0xDAFE);  // old jamo ㆎ

    // Not Johab at all (glibc rejects them too): a lone final, the all-fill code, the
    // user-defined lead, unused leads, a symbol lead with a byte that is no trail.
    for (uint16_t code : {0x8442, 0x8441, 0xD831, 0xDFA1, 0xFAA1, 0x8000, 0xD4A1, 0xD97F}) {
        EXPECT_EQ(johabToKs(code), 0xB0A1) << std::hex << code;
    }
    // Not CP949 characters: user-defined rows, private symbol rows, bad trails.
    for (uint16_t code : {0xC9A1, 0xFEA1, 0xADA4, 0xCAA0, 0xCAFF, 0xC7A0, 0x80A1}) {
        EXPECT_EQ(ksToJohab(code), 0x8861) << std::hex << code;
    }
}

}  // namespace
