// Every character of the Korean code painted in every face, size and weight the screen settings
// offer: ink in its two cells and none outside them. The unit run paints a fixed sample that
// holds the symbol rows whole; QUILITE_EVERY_KOREAN_CODE=1 paints every code (the benchmark
// label's run).
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "term/RowLayout.h"
#include "term/ScreenPainter.h"
#include "tests/term/OffscreenApp.h"
#include "tests/term/RecordingView.h"

namespace {

constexpr size_t kSampleSize = 2000;

bool defined(int lead, int trail) {
    return CellCharacter(static_cast<uint16_t>(lead << 8 | trail)) != 0;
}

// The KS X 1001 rows 0xA1-0xAC (symbols), 0xB0-0xC8 (syllables) and 0xCA-0xFD (hanja), without
// the ideographic space 0xA1A1, the one blank character.
std::vector<uint16_t> ksCodes(int firstRow, int lastRow) {
    std::vector<uint16_t> codes;
    for (int lead = firstRow; lead <= lastRow; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (defined(lead, trail) && !(lead == 0xA1 && trail == 0xA1)) {
                codes.push_back(static_cast<uint16_t>(lead << 8 | trail));
            }
        }
    }
    return codes;
}

// The syllables CP949 adds to KS X 1001: leads 0x81-0xC6 with the trails outside the KS area.
std::vector<uint16_t> extendedSyllables() {
    std::vector<uint16_t> codes;
    for (int lead = 0x81; lead <= 0xC6; ++lead) {
        for (int trail = 0x41; trail <= 0xFE; ++trail) {
            if (lead >= 0xA1 && trail >= 0xA1) continue;
            if (defined(lead, trail)) codes.push_back(static_cast<uint16_t>(lead << 8 | trail));
        }
    }
    return codes;
}

// Every code, or the symbol rows whole and an even spread of the rest up to the sample size.
std::vector<uint16_t> codesToPaint(bool every) {
    std::vector<uint16_t> codes = ksCodes(0xA1, 0xAC);
    std::vector<uint16_t> rest = ksCodes(0xB0, 0xC8);
    for (uint16_t code : ksCodes(0xCA, 0xFD))
        rest.push_back(code);
    for (uint16_t code : extendedSyllables())
        rest.push_back(code);
    const size_t wanted = every ? rest.size() : kSampleSize - codes.size();
    for (size_t i = 0; i < wanted; ++i)
        codes.push_back(rest[i * rest.size() / wanted]);
    return codes;
}

struct Offered {
    std::string face;
    int size;
    bool bold;
};

// The raster face at its one size, each TrueType face at every offered size; normal and bold.
std::vector<Offered> offeredFonts() {
    std::vector<Offered> fonts;
    for (const QString& face : TermFonts::FaceList()) {
        for (int size = 10; size <= 26; size += 2) {
            if (face == TermFonts::kRasterFaceName && size != 16) continue;
            for (bool bold : {false, true})
                fonts.push_back({face.toStdString(), size, bold});
        }
    }
    return fonts;
}

// Characters every fourth column of every other row, so that ink leaving its cells falls on
// cells that stay blank.
constexpr int kPerRow = TWView::kColumns / 4;
constexpr int kRowsPerPage = TWView::kMaxRows / 2;

// The codes of one page whose cells hold no ink, or whose ink reaches outside them.
std::vector<uint16_t> paintPage(TermFonts& fonts, const ScreenSettings& settings,
                                const std::vector<uint16_t>& codes) {
    RecordingView view;
    view.SetRows(TWView::kMaxRows);
    view.HideCaret();
    for (size_t i = 0; i < codes.size(); ++i) {
        view.MoveTo(1 + 4 * static_cast<int>(i % kPerRow), 1 + 2 * static_cast<int>(i / kPerRow));
        view.Write(std::string{char(codes[i] >> 8), char(codes[i] & 0xFF)});
    }
    const QImage image = RenderScreen(view, fonts, settings);
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    const int cw = fonts.CellWidth(), lh = fonts.LineHeight();
    std::vector<bool> inked(codes.size()), strayed(codes.size());
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == background) continue;
            // The character whose cells are these, or the one to the upper left of a blank.
            const size_t slot = size_t(y / lh / 2) * kPerRow + x / cw / 4;
            if (slot >= codes.size()) continue;
            const bool inCells = (y / lh) % 2 == 0 && (x / cw) % 4 < 2;
            (inCells ? inked : strayed)[slot] = true;
        }
    }
    std::vector<uint16_t> wrong;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (!inked[i] || strayed[i]) wrong.push_back(codes[i]);
    }
    return wrong;
}

TEST(PainterCoverage, EveryKoreanCodeHasInkInItsCellsAndNoneOutside) {
    OffscreenApp();
    const char* every = std::getenv("QUILITE_EVERY_KOREAN_CODE");
    const std::vector<uint16_t> codes = codesToPaint(every && *every == '1');
    ASSERT_GE(codes.size(), kSampleSize);
    for (const Offered& offered : offeredFonts()) {
        ScreenSettings settings;
        settings.winFont = offered.face;
        settings.fontSize = offered.size;
        settings.boldFont = offered.bold;
        TermFonts fonts;
        std::string failed;
        int failures = 0;
        const size_t perPage = size_t(kPerRow) * kRowsPerPage;
        for (size_t first = 0; first < codes.size(); first += perPage) {
            const std::vector<uint16_t> page(
                codes.begin() + first, codes.begin() + std::min(first + perPage, codes.size()));
            for (uint16_t code : paintPage(fonts, settings, page)) {
                char hex[8];
                std::snprintf(hex, sizeof hex, " %04X", code);
                failed += hex;
                ++failures;
            }
        }
        EXPECT_EQ(failures, 0) << offered.face << " " << offered.size
                               << (offered.bold ? " bold" : "") << ":" << failed;
    }
}

}  // namespace
