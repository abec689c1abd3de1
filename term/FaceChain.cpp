#include "term/FaceChain.h"

#include <QFontDatabase>

namespace {

// Debian's Korean faces, the coding face first, then Unifont, which has every character of
// the Korean code; faces that are not installed are left out.
const char* const kFallbackFamilies[] = {
    "NanumGothicCoding", "NanumGothic",   "NanumMyeongjo", "Baekmuk Gulim",
    "Baekmuk Batang",    "Baekmuk Dotum", "Unifont",
};

}  // namespace

void FaceChain::Build(const QFont& base) {
    faces_.clear();
    const QStringList installed = QFontDatabase::families();
    QStringList families{base.family()};
    for (const char* family : kFallbackFamilies) {
        if (!families.contains(family, Qt::CaseInsensitive)) families << family;
    }
    for (const QString& family : families) {
        if (!installed.contains(family, Qt::CaseInsensitive)) continue;
        QFont font = base;
        font.setFamily(family);
        font.setStyleStrategy(QFont::StyleStrategy(base.styleStrategy() | QFont::NoFontMerging));
        faces_.push_back({font, QRawFont::fromFont(font)});
    }
}

const QFont* FaceChain::FaceFor(char32_t c) const {
    for (const Face& face : faces_) {
        if (face.raw.supportsCharacter(c)) return &face.font;
    }
    return nullptr;
}
