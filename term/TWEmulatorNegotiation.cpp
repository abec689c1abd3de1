// ESC % and ESC & sequences: the graphic, videotex and picture negotiation of Korean online
// services. Replies to ESC & go out as one write group; replies to ESC % do not.
#include "term/TWEmulator.h"

namespace {

constexpr char kAcknowledge[] = "\x1b&>";
constexpr char kReady[] = "\x1b&3";
// What this terminal can show.
constexpr char kCapabilities[] =
    " \x7f"
    "01456789;@A\x7f\r";
constexpr int kCapabilitiesLength = sizeof kCapabilities - 1;

}  // namespace

void TWEmulator::stEscPercent(uint8_t b) {
    negotiate(b, false);
}
void TWEmulator::stEscAmpersand(uint8_t b) {
    negotiate(b, true);
}

void TWEmulator::negotiate(uint8_t b, bool ampersand) {
    negotiationGrouped_ = ampersand;
    enter(&TWEmulator::stGround);
    switch (b) {
        case '0':
            skipLeft_ = 4;
            return enter(&TWEmulator::stNegotiationSkip);
        case '1':
            sendReply(kAcknowledge, 3, ampersand);
            result_ = kTWServiceStart;
            return;
        case '2':
            if (!ampersand) {
                sendReply(kReady, 3, false);
                return sendReply(
                    "A\x7f"
                    "6\x7f",
                    4, false);
            }
            beginHold();
            sendReply(kReady, 3, false);
            sendReply(kCapabilities, kCapabilitiesLength, false);
            sendReply("\x11", 1, false);
            return endHold();
        case '3':
            if (ampersand) sendReply(kCapabilities, kCapabilitiesLength, true);
            return;
        case '4':
            if (!ampersand) return;
            sendReply(kReady, 3, true);
            result_ = kTWServiceQuery;
            return;
        case '6':
            return enter(&TWEmulator::stNegotiationSix);
        case 'A':
            if (!ampersand) result_ = kTWVideotexStart;
            return;
        case 'B':
            return enter(&TWEmulator::stNegotiationB);
        case 'C':
            sendReply(kReady, 3, ampersand);
            result_ = kTWImageEnd;
            return;
        case 'Q':
            if (ampersand) sendReply("\x1b&3\r", 4, true);
            return;
    }
}

// ESC % 0 and ESC & 0 carry four bytes we do not use; the answer follows the last one.
void TWEmulator::stNegotiationSkip(uint8_t /*b*/) {
    if (--skipLeft_ > 0) return;
    enter(&TWEmulator::stGround);
    sendReply(kAcknowledge, 3, negotiationGrouped_);
}

void TWEmulator::stNegotiationSix(uint8_t b) {
    enter(&TWEmulator::stGround);
    if (b == 'A') result_ = kTWVideotexStart;
    if (b == '@') result_ = kTWServiceStart;
}

void TWEmulator::stNegotiationB(uint8_t b) {
    enter(&TWEmulator::stGround);
    if (b >= '1' && b <= '5') result_ = kTWImageCommand1 - (b - '1');
}
