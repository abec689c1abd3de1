// The interpreter's main loop, its output to the screen and the link, reset and key translation.
// The states live in TWEmulatorStates.cpp, TWEmulatorCsi.cpp and TWEmulatorNegotiation.cpp.
#include "term/TWEmulator.h"

#include <array>
#include <cstring>

#include "platform/Cp949Layout.h"
#include "term/HangulCodes.h"

namespace {

constexpr uint8_t LF = 0x0A, CR = 0x0D, ESC = 0x1B;

// DEC special graphics for 0x5F..0x7F; 0 keeps the byte. The results are codes the window font
// draws as line and block glyphs.
constexpr uint8_t kDecGraphicsGlyphs[0x21] = {
    '_',  0,    0,    0, 0,    0,   0, 0, 0,   0,   0,     // _ ` a..i
    4,    2,    1,    3, 0x10, 6,   6, 6, '_', '_', 0x19,  // j..t
    0x17, 0x15, 0x16, 5, '<',  '>', 0, 0, 0,   7,   0,     // u..~ DEL
};

// Text bytes displayed in one call at most, so the caller gets control back regularly.
constexpr int kDisplayBatch = 256;

// Bytes the ground state displays without a second look.
constexpr auto kPlainText = [] {
    std::array<bool, 256> plain{};
    for (int b = 0x20; b < 0xFF; ++b)
        plain[b] = true;
    for (int b : {0x2A, 0x7F, 0x84, 0x85, 0x8D, 0x9B})
        plain[b] = false;  // '*' starts a trigger
    return plain;
}();

}  // namespace

TWEmulator::TWEmulator(TWView* view, GFComLink* link) : TWLinkFilter(view, link) {
    Reset();
}

TWEmulator::TWEmulator(TWView* view, GFComLink* link, KeepView) : TWLinkFilter(view, link) {}

// ---------------------------------------------------------------------------------------------
// Receiving

// Reads and interprets until a status code arises, the input runs out or a batch of text has
// been displayed. Text is displayed as it comes; the result is the last byte displayed, -802
// when there was none, or the status code.
int TWEmulator::GetChar() {
    int displayed = kTWNoData;
    bool plain = plainTextPath();
    int shown = 0;
    // Most bytes are plain text shown as they are: no state dispatch, no display options. They
    // are gathered and handed to the screen together before anything else happens.
    uint8_t text[kDisplayBatch];
    int textLength = 0;
    auto showText = [&] {
        if (textLength > 0 && rawTap_) rawTap_(text, textLength);
        if (textLength > 0) view_->PutText(text, textLength);
        textLength = 0;
    };
    while (shown < kDisplayBatch) {
        int c = getByte();
        if (c < 0) break;
        uint8_t b = static_cast<uint8_t>(c);
        if (plain && kPlainText[b]) {
            columnResetMark_ = false;
            lastByte_ = b;
            text[textLength++] = b;
            displayed = b;
            ++shown;
            continue;
        }
        showText();
        result_ = kTWNoData;
        (this->*state_)(b);
        if (rawTap_) rawTap_(&b, 1);
        if (answerEcho_) echo(b);
        lastByte_ = b;
        plain = plainTextPath();
        if (result_ == kTWNoData) continue;
        columnResetMark_ = false;
        if (result_ < 0) return result_;
        displayResult(static_cast<uint8_t>(result_));
        displayed = result_;
        ++shown;
    }
    showText();
    // A column reset with nothing displayed after it is news for the session.
    if (columnResetMark_) {
        columnResetMark_ = false;
        return kTWColumnReset;
    }
    return displayed;
}

// True while a ground-state text byte needs nothing but PutByte.
bool TWEmulator::plainTextPath() const {
    return state_ == &TWEmulator::stGround && !answerEcho_ && !underline_ &&
           (g1Active_ ? g1_ : g0_) != kDecGraphics;
}

void TWEmulator::displayResult(uint8_t b) {
    if (crLineEnd_) {
        crLineEnd_ = false;
        view_->PutByte(CR);
        view_->PutByte(LF);
        return;
    }
    if (underline_ && b == ' ') {
        view_->PutByte('_');
        return;
    }
    Charset active = g1Active_ ? g1_ : g0_;
    if (active == kDecGraphics && b >= 0x5F && b <= 0x7F && !view_->LeadPendingAtCursor()) {
        if (uint8_t g = kDecGraphicsGlyphs[b - 0x5F]) b = g;
    }
    if (recvLF2CRLF_ && b == LF) view_->PutByte(CR);
    view_->PutByte(b);
    if (recvCR2CRLF_ && b == CR) view_->PutByte(LF);
}

// Answer echo sends every received byte back; a CR goes back as exactly one CR LF.
void TWEmulator::echo(uint8_t b) {
    if (crLineEnd_) {
        sendByte(CR);
        sendByte(LF);
    } else {
        sendByte(b);
    }
}

void TWEmulator::sendByte(uint8_t b) {
    putByte(b);
}

// ---------------------------------------------------------------------------------------------
// Sending

void TWEmulator::PutChar(uint8_t b) {
    if (johabSend_) {
        if (leadHeld_) {
            leadHeld_ = false;
            if (IsCp949Pair(heldLead_, b)) {
                uint8_t lead = heldLead_, trail = b;
                KsToJohab(lead, trail);
                sendTyped(lead);
                sendTyped(trail);
                return;
            }
            // Not a second byte: the lead goes out as it is and b is handled on its own.
            sendTyped(heldLead_);
        }
        if (b >= 0x80) {
            leadHeld_ = true;
            heldLead_ = b;
            return;
        }
    }
    sendTyped(b);
}

void TWEmulator::sendTyped(uint8_t b) {
    sendByte(b);
    if (!answerEcho_) return;
    view_->PutByte(b);
    if (b == CR) {
        view_->PutByte(LF);
        sendByte(LF);
    }
}

void TWEmulator::SetJohabSend(bool on) {
    johabSend_ = on;
    leadHeld_ = false;
}

void TWEmulator::SetLineOptions(bool sendCR, bool recvCR2CRLF, bool recvLF2CRLF) {
    sendCR_ = sendCR;
    recvCR2CRLF_ = recvCR2CRLF;
    recvLF2CRLF_ = recvLF2CRLF;
}

void TWEmulator::sendReply(const char* bytes, int count, bool grouped) {
    if (grouped) beginHold();
    for (int i = 0; i < count; ++i)
        putByte(static_cast<uint8_t>(bytes[i]));
    if (grouped) endHold();
}

void TWEmulator::sendIdentification() {
    sendReply("\x1b[?6c", 5, false);
}

// ---------------------------------------------------------------------------------------------
// Reset

void TWEmulator::Reset() {
    columnLimit_ = TWView::kColumns;
    answerEcho_ = false;
    insertMode_ = newLineMode_ = originMode_ = autoWrap_ = false;
    keypadApplication_ = false;
    cursorIntroducer_ = '[';
    state_ = &TWEmulator::stGround;
    view_->SetOrigin(1, 1);
    view_->SetRegion(0, 0);
    view_->ResetTabStops();
    decColumnMode(false);
    view_->ShowCaret();
    view_->MoveTo(1, 1);
    savedCursor_ = {1, 1};
    g0_ = g1_ = kAscii;
    g1Active_ = false;
    ClearRendition();
    csiSaveState();
    imagePending_ = false;
    columnResetMark_ = false;
    crLineEnd_ = false;
}

void TWEmulator::ClearRendition() {
    blink_ = bold_ = conceal_ = reverse_ = underline_ = false;
    view_->SetReverse(false);
    view_->SetBold(false);
    view_->SetConceal(false);
}

// ---------------------------------------------------------------------------------------------
// Keys

namespace {

// Function-key strings after ESC, plain / Alt / Ctrl; null sends nothing.
struct FunctionKey {
    const char* plain;
    const char* alt;
    const char* ctrl;
};
constexpr FunctionKey kFunctionKeys[20] = {
    {"[11~", "[23~", "OP"},     {"[12~", "[24~", "OQ"},     {"[13~", "[25~", "OR"},
    {"[14~", "[26~", "OS"},     {"[15~", "[28~", "[1~"},    {"[17~", "[29~", "[2~"},
    {"[18~", "[31~", "[3~"},    {"[19~", "[32~", "[4~"},    {"[20~", "[33~", nullptr},
    {"[21~", "[34~", "[6~"},    {"[23~", nullptr, nullptr}, {"[24~", nullptr, nullptr},
    {"[25~", nullptr, nullptr}, {"[26~", nullptr, nullptr}, {"[28~", nullptr, nullptr},
    {"[29~", nullptr, nullptr}, {"[31~", nullptr, nullptr}, {"[32~", nullptr, nullptr},
    {"[33~", nullptr, nullptr}, {"[34~", nullptr, nullptr},
};

}  // namespace

bool TWEmulator::SendKey(TWKey key, unsigned modifiers) {
    char seq[4] = {};
    const char* tail = nullptr;
    int k = static_cast<int>(key);
    if (key <= TWKey::F20) {
        bool alt = modifiers & kTWAlt, ctrl = modifiers & kTWCtrl;
        const FunctionKey& f = kFunctionKeys[k];
        tail = alt && ctrl ? nullptr : alt ? f.alt : ctrl ? f.ctrl : f.plain;
    } else if (key >= TWKey::Left && key <= TWKey::Down) {
        seq[0] = static_cast<char>(cursorIntroducer_);
        seq[1] = "DACB"[k - static_cast<int>(TWKey::Left)];
        tail = seq;
    } else if (key >= TWKey::Keypad0 && key <= TWKey::Keypad9 && keypadApplication_) {
        seq[0] = 'O';
        seq[1] = static_cast<char>('p' + k - static_cast<int>(TWKey::Keypad0));
        tail = seq;
    } else if (key == TWKey::KeypadMinus && keypadApplication_) {
        tail = "Om";
    }
    if (!tail) return false;
    PutChar(ESC);
    for (const char* p = tail; *p; ++p)
        PutChar(static_cast<uint8_t>(*p));
    return true;
}
