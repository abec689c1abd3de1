#pragma once
// A TrueType window face followed by the installed faces that stand in for the characters it
// lacks: Debian's Korean faces, then Unifont. Each face draws only its own glyphs (no font
// merging), so the first face of the chain that has a character is the one that shows it.
#include <QFont>
#include <QRawFont>
#include <vector>

class FaceChain {
public:
    // `base` gives the size, weight and stretch of every face; its own family comes first.
    void Build(const QFont& base);
    // The first face that has the character, or null when none has.
    const QFont* FaceFor(char32_t c) const;

private:
    struct Face {
        QFont font;
        QRawFont raw;  // answers which characters the face has
    };
    std::vector<Face> faces_;
};
