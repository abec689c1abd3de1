// The user's input: characters sent at once, or kept in the key buffer while the page's field
// is being filled and sent back with Enter as a NAPLPS fragment; function and arrow keys.
#include "vtx/CVtx.h"
#include "vtx/VtxOperand.h"

namespace {

constexpr uint8_t BS = 0x08, CR = 0x0D, LF = 0x0A;
constexpr size_t kFragmentText = 16;

// The length of `buffer` up to its last whole character: a lead byte at the end is half a
// two-byte character.
bool endsInHalfCharacter(const std::string& buffer) {
    size_t i = 0;
    while (i < buffer.size())
        i += uint8_t(buffer[i]) >= 0x80 ? 2 : 1;
    return i > buffer.size();
}

}  // namespace

void CVtx::OnChar(const std::string& cp949) {
    if (!Running() || cp949.empty()) return;
    if (!fieldInput_) {
        sendBytes(cp949);
        return;
    }
    // A two-byte character goes in whole or not at all.
    if (keyBuffer_.size() + cp949.size() > size_t(kKeyBufferSize)) return;
    keyBuffer_ += cp949;
    drawKeyBuffer();
}

void CVtx::OnBackspace() {
    if (!Running()) return;
    if (!fieldInput_) {
        sendBytes(std::string(1, char(BS)));
        return;
    }
    if (keyBuffer_.empty()) return;
    keyBuffer_.pop_back();
    if (endsInHalfCharacter(keyBuffer_)) keyBuffer_.pop_back();
    drawKeyBuffer();
}

void CVtx::OnEnter() {
    if (!Running()) return;
    if (!fieldInput_) {
        sendBytes(std::string(1, char(CR)));
        return;
    }
    const std::string origin = EncodePoint(fieldOrigin_);
    std::string f = "\x1F\x40\x40\xA1\xCC\xC0\xC0\xC0\xC0\xB8";
    f += origin + EncodePoint(fieldSize_);
    f += "\xA2\xC0\xC0\xC0\xC1\xF2\xC0\xA4";
    f += origin;
    f += "\xBE\xC0\xDC\x1B\x24\x29\x43\x0F";
    f += keyBuffer_ + std::string(kFragmentText - keyBuffer_.size(), ' ');
    f += "\x1B\x2D\x57\x85\xA4";
    f += origin;
    f += "\x1A";
    sendBytes(f);
    keyBuffer_.clear();
    fieldInput_ = false;
}

void CVtx::OnKey(VtxKey key) {
    if (!Running()) return;
    static constexpr char kArrows[] = "1537";   // Left, Up, Right, Down
    static constexpr char kF[] = "942?5:6831";  // F1-F10
    const int k = int(key);
    if (k <= int(VtxKey::Down))
        sendBytes(std::string("\x1B%1") + kArrows[k] + char(CR) + char(LF));
    else
        sendBytes(std::string("\x1B#") + kF[k - int(VtxKey::F1)] + char(CR));
}

// The buffer and two blanks in colour 0 at the field's top-left, each cell on white so that
// what Backspace removed disappears.
void CVtx::drawKeyBuffer() {
    VtxPoint at{fieldOrigin_.x, fieldOrigin_.y + fieldSize_.y - fieldH_};
    const std::string shown = keyBuffer_ + "  ";
    for (size_t i = 0; i < shown.size(); ++i) {
        const uint8_t b = uint8_t(shown[i]);
        if (b >= 0x80 && i + 1 < shown.size()) {
            drawCell(KoreanChar(b, uint8_t(shown[i + 1])), true, at, 0, VtxMirror::kWhite);
            ++i;
        } else {
            drawCell(b, false, at, 0, VtxMirror::kWhite);
        }
        at.x += fieldW_;
    }
    host_.Repaint();
}
