// Control sequences: ESC [ and the 8-bit CSI, their private (?), equals (=) and comma forms, and
// one function per final byte.
#include <algorithm>
#include <cstdio>

#include "term/TWEmulator.h"

namespace {

constexpr uint8_t ESC = 0x1B;
constexpr int kMaxParameterIndex = 10;
constexpr int kMaxParameterValue = 65535;

// ANSI colour order to the PC text colours.
constexpr int kAnsiColor[8] = {0, 4, 2, 6, 1, 5, 3, 7};

}  // namespace

void TWEmulator::startSequence() {
    std::fill(std::begin(params_), std::end(params_), 0);
    count_ = 0;
}

// Digits and ';' build the parameter list. Returns false for any other byte.
bool TWEmulator::collectParameter(uint8_t b) {
    if (b >= '0' && b <= '9') {
        addDigit(b);
        return true;
    }
    if (b == ';') {
        nextParameter();
        return true;
    }
    return false;
}

void TWEmulator::addDigit(uint8_t digit) {
    int value = params_[count_] * 10 + (digit - '0');
    params_[count_] = static_cast<uint16_t>(std::min(value, kMaxParameterValue));
}

// A list longer than eleven entries abandons the sequence.
bool TWEmulator::nextParameter() {
    if (++count_ <= kMaxParameterIndex) return true;
    enter(&TWEmulator::stGround);
    return false;
}

int TWEmulator::param(int i, int fallback) const {
    return params_[i] ? params_[i] : fallback;
}

void TWEmulator::stCsi(uint8_t b) {
    b &= 0x7F;
    if (collectParameter(b)) return;
    switch (b) {
        case ',':
            if (nextParameter()) enter(&TWEmulator::stCsiComma);
            return;
        case '?':
            // Only ESC [ ? opens the private form; after the 8-bit CSI the sequence ends.
            return enter(lastByte_ == '[' ? &TWEmulator::stCsiPrivate : &TWEmulator::stGround);
        case '=':
            return enter(&TWEmulator::stCsiEquals);
        case '"':
        case '>':
            return;
        case ESC:
            return enter(&TWEmulator::stEscape);
        default:
            enter(&TWEmulator::stGround);
            csiDispatch(b);
    }
}

void TWEmulator::csiDispatch(uint8_t final) {
    switch (final) {
        case '@':
            return view_->InsertBlanks(param(0, 1));
        case 'A':
            return view_->CursorUp(param(0, 1));
        case 'B':
            return view_->CursorDown(param(0, 1));
        case 'C':
            return view_->CursorRight(param(0, 1));
        case 'D':
            return view_->CursorLeft(param(0, 1));
        case 'G':
            if (params_[0] && params_[1]) view_->DrawBox(params_[0], params_[1]);
            return;
        case 'H':
        case 'f':
            return csiCursorPosition();
        case 'J':
            return csiEraseInDisplay();
        case 'K':
            return csiEraseInLine();
        case 'L':
            return view_->InsertLines(param(0, 1));
        case 'M':
            return view_->DeleteLines(param(0, 1));
        case 'P':
            return view_->DeleteChars(param(0, 1));
        case 'X':
            return view_->EraseChars(param(0, 1));
        case 'c':
            return csiDeviceAttributes();
        case 'g':
            if (count_ == 1) return;
            if (params_[0] == 0) view_->ClearTabStop();
            if (params_[0] == 3) view_->ClearAllTabStops();
            return;
        case 'h':
            return csiSetAnsiModes(true);
        case 'l':
            return csiSetAnsiModes(false);
        case 'm':
            return csiSelectGraphicRendition();
        case 'n':
            return csiDeviceStatusReport();
        case 'r':
            return view_->SetRegion(params_[0], params_[1]);
        case 's':
            return csiSaveState();
        case 'u':
            return csiRestoreState();
        default:
            return;
    }
}

void TWEmulator::csiCursorPosition() {
    view_->MoveTo(std::min(param(1, 1), columnLimit_), param(0, 1));
}

void TWEmulator::csiEraseInDisplay() {
    imagePending_ = false;
    switch (params_[0]) {
        case 0:
            return view_->EraseToEndOfScreen();
        case 1:
            return view_->EraseToStartOfScreen();
        case 2: {
            int row = view_->GetPosition().y;
            view_->ClearScreen();
            return view_->MoveTo(1, std::max(row - 1, 1));
        }
        case 3:
            // ESC [ 3 ; top ; left ; bottom ; right J
            if (count_ == 4) view_->EraseRect(params_[2], params_[1], params_[4], params_[3]);
            return;
    }
}

void TWEmulator::csiEraseInLine() {
    switch (params_[0]) {
        case 0:
            return view_->EraseToEndOfLine();
        case 1:
            return view_->EraseToStartOfLine();
        case 2:
            view_->EraseToEndOfLine();
            return view_->EraseToStartOfLine();
    }
}

void TWEmulator::csiDeviceAttributes() {
    if (lastByte_ == '>' || count_ == 1) return;
    sendIdentification();
}

void TWEmulator::csiDeviceStatusReport() {
    if (params_[0] == 5) return sendReply("\x1b[0n", 4, false);
    if (params_[0] != 6) return;
    TWPoint at = view_->GetPosition();
    char reply[32];
    int n = std::snprintf(reply, sizeof reply, "\x1b[%d;%dR", at.y, at.x);
    sendReply(reply, n, false);
}

// Insert and new-line modes are recorded only; the screen does not change.
void TWEmulator::csiSetAnsiModes(bool on) {
    for (int i = 0; i <= count_; ++i) {
        if (params_[i] == 4) insertMode_ = on;
        if (params_[i] == 20) newLineMode_ = on;
    }
}

void TWEmulator::csiSelectGraphicRendition() {
    int fg, bg;
    view_->GetColors(fg, bg);
    for (int i = 0; i <= count_; ++i) {
        int p = params_[i];
        switch (p) {
            case 0:
                ClearRendition();
                break;
            case 1:
            case 2:
            case 22:
                bold_ = p == 1;
                view_->SetBold(bold_);
                break;
            case 4:
            case 24:
                underline_ = p == 4;
                break;
            case 5:
            case 25:
                blink_ = p == 5;
                break;
            case 7:
            case 27:
                reverse_ = p == 7;
                view_->SetReverse(reverse_);
                break;
            case 8:
                conceal_ = true;
                view_->SetConceal(true);
                break;
            default:
                // With reverse on, the colours are given for the swapped pair.
                if (p >= 30 && p <= 37) (reverse_ ? bg : fg) = kAnsiColor[p - 30];
                if (p >= 40 && p <= 47) (reverse_ ? fg : bg) = kAnsiColor[p - 40];
                break;
        }
    }
    view_->SetColors(fg, bg);
}

void TWEmulator::csiSaveState() {
    saved_.position = view_->GetPosition();
    view_->GetColors(saved_.fg, saved_.bg);
    saved_.g1Active = g1Active_;
    saved_.g0 = g0_;
    saved_.g1 = g1_;
    saved_.originMode = originMode_;
    saved_.reverse = reverse_;
    saved_.bold = bold_;
    saved_.conceal = conceal_;
    saved_.blink = blink_;
    saved_.underline = underline_;
}

void TWEmulator::csiRestoreState() {
    view_->MoveTo(saved_.position.x, saved_.position.y);
    g1Active_ = saved_.g1Active;
    g0_ = saved_.g0;
    g1_ = saved_.g1;
    originMode_ = saved_.originMode;
    reverse_ = saved_.reverse;
    bold_ = saved_.bold;
    conceal_ = saved_.conceal;
    blink_ = saved_.blink;
    underline_ = saved_.underline;
    view_->SetReverse(reverse_);
    view_->SetBold(bold_);
    view_->SetConceal(conceal_);
    view_->SetColors(saved_.fg, saved_.bg);
}

// ---------------------------------------------------------------------------------------------
// ESC [ ? ... : DEC private modes

void TWEmulator::stCsiPrivate(uint8_t b) {
    if (collectParameter(b)) return;
    if (b == 'i') return;  // skipped; the sequence goes on
    enter(&TWEmulator::stGround);
    if (b == 'h' || b == 'l') return decSetModes(b == 'h');
    if (b == 's' && params_[0] == 1) result_ = kTWPrivateSave;
}

void TWEmulator::decSetModes(bool on) {
    for (int i = 0; i <= count_; ++i) {
        switch (params_[i]) {
            case 1:
                cursorIntroducer_ = on ? 'O' : '[';
                break;
            case 3:
                decColumnMode(!on);
                break;
            case 5:
                reverse_ = on;  // the interpreter's flag only; the screen colours stay
                break;
            case 6:
                originMode_ = on;
                break;
            case 7:
                autoWrap_ = on;  // recorded; lines always wrap
                break;
            case 25:
                on ? view_->ShowCaret() : view_->HideCaret();
                break;
            case 85:
                view_->SetHangulInputMode(on);
                break;
        }
    }
}

// Both directions of DECCOLM clear the 80-column screen; a reset is also reported to the
// session when nothing else happens in the same call.
void TWEmulator::decColumnMode(bool reset) {
    columnLimit_ = TWView::kColumns;
    view_->ClearScreen();
    originMode_ = false;
    view_->SetRegion(0, 0);
    view_->MoveTo(1, 1);
    if (reset) columnResetMark_ = true;
}

// ---------------------------------------------------------------------------------------------
// ESC [ = ... : SCO-style colours and a few CSI finals

void TWEmulator::stCsiEquals(uint8_t b) {
    if (collectParameter(b)) return;
    enter(&TWEmulator::stGround);
    int fg, bg;
    view_->GetColors(fg, bg);
    switch (b) {
        case 'F':
            if (params_[0] <= 15) view_->SetColors(params_[0], bg);
            return;
        case 'G':
            if (params_[0] <= 15) view_->SetColors(fg, params_[0]);
            return;
        case 'H':
            return csiCursorPosition();
        case 'J':
            imagePending_ = false;
            if (params_[0] == 2) view_->ClearScreen();
            return;
        case 'K':
            return csiEraseInLine();
        case 's':
            return csiSaveState();
        case 'u':
            return csiRestoreState();
    }
}

// ESC [ column , row H anchors the next host picture.
void TWEmulator::stCsiComma(uint8_t b) {
    if (b >= '0' && b <= '9') return addDigit(b);
    if (b == ',') {
        nextParameter();
        return;
    }
    enter(&TWEmulator::stGround);
    if (b == 'H') view_->SetImageAnchor(params_[0], params_[1]);
}
