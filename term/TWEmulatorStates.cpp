// Ground, escape, the ZMODEM trigger chain and the states after CAN.
#include "term/TWEmulator.h"

namespace {

constexpr uint8_t BEL = 0x07, BS = 0x08, HT = 0x09, LF = 0x0A, CR = 0x0D, SO = 0x0E, SI = 0x0F,
                  CAN = 0x18, ESC = 0x1B;

}  // namespace

// 0x84, 0x85, 0x8D and 0x9B are C1 controls, but Korean text uses them too: as the second
// byte of a pair, and as first bytes in Johab.
bool TWEmulator::isTextByte(uint8_t /*b*/) const {
    return view_->JohabDisplay() || view_->LeadPendingAtCursor();
}

void TWEmulator::stGround(uint8_t b) {
    ground(b);
}

void TWEmulator::ground(uint8_t b) {
    switch (b) {
        case 0x05:
        case 0x7F:
        case 0xFF:
            return;
        case BEL:
            view_->Bell();
            return;
        case BS:
            view_->CursorLeft(1);
            return;
        case HT:
            view_->Tab();
            return;
        case LF:
            display(b);
            return;
        case CR:
            display(b);
            if (answerEcho_) crLineEnd_ = true;
            return;
        case SO:
            g1Active_ = true;
            return;
        case SI:
            g1Active_ = false;
            return;
        case CAN:
            imagePending_ = false;
            canCount_ = 0;
            enter(&TWEmulator::stCancel);
            return;
        case ESC:
            enter(&TWEmulator::stEscape);
            return;
        case '*':
            display(b);
            enter(&TWEmulator::stStar1);
            return;
        case 0x84:
            if (isTextByte(b)) return display(b);
            view_->CursorDown(1);
            return;
        case 0x85:
            display(isTextByte(b) ? b : LF);
            return;
        case 0x8D:
            if (isTextByte(b)) return display(b);
            view_->CursorUp(1);
            return;
        case 0x9B:
            if (isTextByte(b)) return display(b);
            startSequence();
            enter(&TWEmulator::stCsi);
            return;
        default:
            if (b >= 0x20) display(b);
            return;
    }
}

void TWEmulator::stEscape(uint8_t b) {
    switch (b) {
        case ESC:
            return;
        case '#':
            return enter(&TWEmulator::stEscHash);
        case '%':
            return enter(&TWEmulator::stEscPercent);
        case '&':
            return enter(&TWEmulator::stEscAmpersand);
        case '(':
            return enter(&TWEmulator::stEscParen0);
        case ')':
            return enter(&TWEmulator::stEscParen1);
        case '[':
            startSequence();
            return enter(&TWEmulator::stCsi);
        default:
            break;
    }
    enter(&TWEmulator::stGround);
    switch (b) {
        case '7':
            savedCursor_ = view_->GetPosition();
            break;
        case '8':
            view_->MoveTo(savedCursor_.x, savedCursor_.y);
            break;
        case '=':
            keypadApplication_ = true;
            break;
        case '>':
            keypadApplication_ = false;
            break;
        case 'D':
            view_->ScrollUp(1);
            break;
        case 'M':
            view_->ScrollDown(1);
            break;
        case 'E':
            view_->NewLine();
            break;
        case 'H':
            view_->SetTabStop();
            break;
        case 'W':
            view_->ClearScreen();
            break;
        case 'Z':
            sendIdentification();
            break;
        case 'c':
            Reset();
            break;
        default:
            if (b >= 0x80) display(b);
            break;
    }
}

void TWEmulator::stEscHash(uint8_t b) {
    enter(&TWEmulator::stGround);
    switch (b) {
        case '3':
            return view_->SetRowFlag(2);
        case '4':
            return view_->SetRowFlag(3);
        case '5':
            return view_->SetRowFlag(0);
        case '6':
            return view_->SetRowFlag(1);
    }
}

void TWEmulator::designate(Charset& set, uint8_t b) {
    switch (b) {
        case '0':
            set = kDecGraphics;
            break;
        case 'A':
            set = kUk;
            break;
        case 'B':
            set = kAscii;
            break;
    }
}

void TWEmulator::stEscParen0(uint8_t b) {
    enter(&TWEmulator::stGround);
    designate(g0_, b);
}

void TWEmulator::stEscParen1(uint8_t b) {
    enter(&TWEmulator::stGround);
    designate(g1_, b);
}

// ---------------------------------------------------------------------------------------------
// "* * CAN B 0 0" asks us to receive with ZMODEM, "... 0 1" to send. The characters show as they
// arrive and are wiped when the chain completes; anything unexpected is ordinary text.

void TWEmulator::stStar1(uint8_t b) {
    if (b == '*') {
        display(b);
        return enter(&TWEmulator::stStar2);
    }
    enter(&TWEmulator::stGround);
    ground(b);
}

void TWEmulator::stStar2(uint8_t b) {
    if (b == CAN) return enter(&TWEmulator::stStarCan);
    if (b == '*') {
        display(b);
        return enter(&TWEmulator::stStar1);
    }
    enter(&TWEmulator::stGround);
    ground(b);
}

void TWEmulator::stStarCan(uint8_t b) {
    if (b == 'B') {
        display(b);
        return enter(&TWEmulator::stStarCanB);
    }
    enter(&TWEmulator::stGround);
    ground(b);
}

void TWEmulator::stStarCanB(uint8_t b) {
    if (b == '0') {
        display(b);
        return enter(&TWEmulator::stStarCanB0);
    }
    enter(&TWEmulator::stGround);
    ground(b);
}

void TWEmulator::stStarCanB0(uint8_t b) {
    enter(&TWEmulator::stGround);
    if (b != '0' && b != '1') return ground(b);
    zmodemTrigger(b);
}

void TWEmulator::zmodemTrigger(uint8_t b) {
    view_->CursorLeft(4);
    for (int i = 0; i < 4; ++i)
        view_->PutByte(' ');
    view_->CursorLeft(4);
    if (b == '1') {
        result_ = kTWZmodemSend;
    } else if (imagePending_) {
        // The host sends a picture: it goes where the host anchored it.
        TWPoint anchor = view_->ImageAnchor();
        view_->MoveTo(anchor.x + 1, anchor.y + 1);
        imagePending_ = false;
        result_ = kTWImageReceive;
    } else {
        result_ = kTWZmodemReceive;
    }
}

// After CAN: a line end right away announces a picture transfer.
void TWEmulator::stCancel(uint8_t b) {
    if (b == CAN) {
        ++canCount_;
        return;
    }
    enter(&TWEmulator::stGround);
    if ((b == CR || b == LF) && canCount_ == 0) {
        imagePending_ = true;
        display(b);
        if (b == CR && answerEcho_) crLineEnd_ = true;
        return;
    }
    imagePending_ = false;
    ground(b);
}
