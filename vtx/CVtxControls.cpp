// The C1 controls, escape and session-control sequences with their replies, and the
// definitions of macros and DRCS characters.
#include <algorithm>

#include "vtx/CVtx.h"

namespace {

constexpr uint8_t ESC = 0x1B, END = 0x85;

bool isDesignatable(uint8_t f) {
    return std::string_view("BWz{|}").find(char(f)) != std::string_view::npos;
}

// The slot a naming byte picks, from its low 7 bits; -1 for a byte outside 0x20-0x7F.
int slotOf(uint8_t b) {
    const int low = b & 0x7F;
    return low >= 0x20 ? low - 0x20 : -1;
}

}  // namespace

void CVtx::c1(uint8_t b) {
    switch (b) {
        case 0x80:
        case 0x81:
        case 0x82:
        case 0x83:
        case 0x84:
            defining_ = b == 0x80   ? Define::Macro
                        : b == 0x81 ? Define::MacroRun
                        : b == 0x82 ? Define::Transmit
                        : b == 0x83 ? Define::Drcs
                                    : Define::Texture;
            step_ = Step::Naming;
            break;
        case 0x86:
            step_ = Step::RepeatCount;
            break;
        case 0x88:
        case 0x89:
            reverse_ = b == 0x88;
            break;
        case 0x8A:
            setFieldSize(0.0125, 0.0390625);
            break;
        case 0x8B:
            setFieldSize(0.03125, 0.046875);
            break;
        case 0x8C:
            setFieldSize(0.025, 0.0390625);
            break;
        case 0x8D:
            setFieldSize(0.025, 0.078125);
            break;
        case 0x8F:
            setFieldSize(0.05, 0.078125);
            break;
        case 0x90:
            position_ = fieldOrigin_;
            break;
        case 0x95:
        case 0x96:
            wordWrap_ = b == 0x95;
            break;
        case 0x97:
        case 0x98:
            scroll_ = b == 0x97;
            break;
        case 0x99:
        case 0x9A:
            underline_ = b == 0x99;
            break;
        case 0x9B:
        case 0x9C:
            cursorOff_ = false;
            flashCursor_ = b == 0x9B;
            break;
        case 0x9D:
            cursorOff_ = true;
            break;
        case 0x9E:
            stopBlinking();
            break;
        case 0x9F:
            fieldInput_ = true;
            break;
        default:
            break;
    }
}

bool CVtx::escape(uint8_t b) {
    // An escape before a C0 control is dropped and the control acts.
    if (b < 0x20) {
        step_ = Step::Ground;
        return false;
    }
    step_ = Step::Ground;
    const std::string_view g0to3 = "()*+", g1to3 = "-./";
    if (g0to3.find(char(b)) != std::string_view::npos) {
        stepArg_ = uint8_t(g0to3.find(char(b)));
        step_ = Step::Designate;
    } else if (g1to3.find(char(b)) != std::string_view::npos) {
        stepArg_ = uint8_t(g1to3.find(char(b)) + 1);
        step_ = Step::Designate;
    } else if (b == '$') {
        step_ = Step::DesignateWide;
    } else if (b == '!' || b == '"' || b == '#') {
        step_ = Step::EscapeOneMore;
    } else if (b == '%') {
        step_ = Step::Percent;
    } else if (b == '&') {
        step_ = Step::Ampersand;
    } else if (b == '[') {
        stepCount_ = 0;
        step_ = Step::Csi;
    } else if (b == 'n' || b == 'o') {
        gl_ = b == 'n' ? 2 : 3;
    } else if (b == '~' || b == 'k') {
        gr_ = 1;
    } else if (b == '}' || b == 'l') {
        gr_ = 2;
    } else if (b == '|' || b == 'm') {
        gr_ = 3;
    } else if (b >= 0x40 && b <= 0x5F) {
        c1(uint8_t(b + 0x40));
    } else if (b >= 0x80 && b <= 0x9F) {
        c1(b);
    }
    return true;
}

// The bytes after the first of an escape sequence.
bool CVtx::escapeTail(uint8_t b) {
    const Step at = step_;
    // Only the four skipped bytes of ESC "&" "0" are taken whatever they are.
    if (b < 0x20 && at != Step::AmpersandSkip) {
        step_ = Step::Ground;
        return false;
    }
    step_ = Step::Ground;
    switch (at) {
        case Step::Designate:
            if (isDesignatable(b)) g_[stepArg_] = char(b);
            return true;
        case Step::DesignateWide:
            if (b == ')' || b == '*' || b == '+') {
                g_[b - '('] = 'C';
                step_ = Step::WideFinal;
            }
            return true;
        case Step::WideFinal:
            return b == 'C';
        case Step::Percent:
            if (b == '@') endSession();
            return true;
        case Step::Ampersand:
            return session(b);
        case Step::AmpersandSkip:
            if (--stepCount_ > 0) {
                step_ = Step::AmpersandSkip;
            } else {
                sendBytes("\x1B&>");
            }
            return true;
        case Step::AmpersandSix:
            if (b == '@') endSession();
            return true;
        case Step::Csi:
            // Digits and ";", after "=" a second run, and the final byte that ends it all.
            if ((b >= '0' && b <= '9') || b == ';' || (b == '=' && stepCount_ == 0)) {
                if (b == '=') stepCount_ = 1;
                step_ = Step::Csi;
                return true;
            }
            return b >= 0x40 && b <= 0x7E;
        default:  // EscapeOneMore
            return true;
    }
}

// ESC "&" and its code byte.
bool CVtx::session(uint8_t b) {
    switch (b) {
        case '0':
            stepCount_ = 4;
            step_ = Step::AmpersandSkip;
            break;
        case '1':
            sendBytes("\x1B&>");
            endSession();
            break;
        case '2':
            sendBytes(
                "\x1B&3A\x7F"
                "6\x7F");
            break;
        case '6':
            step_ = Step::AmpersandSix;
            break;
        default:
            break;
    }
    return true;
}

void CVtx::sendBytes(std::string_view bytes) {
    if (!send_) return;
    for (char c : bytes)
        send_(uint8_t(c));
}

// A definition's naming byte and body, up to END (0x85 or ESC "E"); another definition's
// control (0x80-0x84 or ESC "@"-"D") ends it too and then acts.
bool CVtx::definition(uint8_t b) {
    if (step_ == Step::Naming) {
        defineSlot_ = slotOf(b);
        definition_.clear();
        definitionTooLong_ = false;
        step_ = Step::Defining;
        return true;
    }
    if (step_ == Step::DefiningEscape) {
        step_ = Step::Defining;
        if (b >= 0x40 && b <= 0x45) {
            endDefinition();
            if (b != 0x45) c1(uint8_t(b + 0x40));
            return true;
        }
        definition_ += char(ESC);
    } else if (b == END) {
        endDefinition();
        return true;
    } else if (b >= 0x80 && b < END) {
        endDefinition();
        return false;
    } else if (b == ESC) {
        step_ = Step::DefiningEscape;
        return true;
    }
    definition_ += char(b);
    if (definition_.size() > kMaxDefinition) {
        definitionTooLong_ = true;
        definition_.clear();
    }
    return true;
}

void CVtx::endDefinition() {
    step_ = Step::Ground;
    std::string body = std::move(definition_);
    definition_.clear();
    if (defineSlot_ < 0 || definitionTooLong_) return;
    body += char(END);
    switch (defining_) {
        case Define::Macro:
        case Define::MacroRun:
            macros_[defineSlot_] = std::move(body);
            if (defining_ == Define::MacroRun) runMacro(defineSlot_);
            break;
        case Define::Drcs:
            drcs_[defineSlot_] = {std::move(body), pel_};
            break;
        default:
            break;
    }
}

// The macro's bytes decoded as if they had arrived in its place.
void CVtx::runMacro(int slot) {
    if (slot < 0 || slot >= kSlots || macros_[slot].empty() || nesting_ >= kMaxNesting) return;
    const std::string body = macros_[slot];
    ++nesting_, ++feeding_;
    for (size_t i = 0; i + 1 < body.size() && status_ != 0; ++i)
        Feed(uint8_t(body[i]));
    --nesting_, --feeding_;
}
