#include "tests/xfer/KermitFaultyLink.h"

namespace {

constexpr uint8_t kSoh = 1;
constexpr uint8_t kCr = 13;

}  // namespace

KermitFaultyLink::KermitFaultyLink(GFComLink& inner, Clock& clock, Rates rates)
    : FaultyLink(inner, clock, Schedule{}), rates_(rates), random_(rates.seed) {}

void KermitFaultyLink::pass(Direction& d, uint8_t b) {
    if (b == kSoh) {
        d.ready.insert(d.ready.end(), d.packet.begin(), d.packet.end());  // a cut-off packet
        d.packet.assign(1, static_cast<char>(b));
        d.inPacket = true;
        return;
    }
    if (!d.inPacket) {
        d.ready.push_back(b);
        return;
    }
    d.packet += static_cast<char>(b);
    if (b != kCr) return;
    damage(d.packet, d.ready);
    d.packet.clear();
    d.inPacket = false;
}

void KermitFaultyLink::damage(std::string& packet, std::deque<uint8_t>& ready) {
    const double r = std::uniform_real_distribution<double>(0, 1)(random_);
    if (r < rates_.lose) {
        ++damaged_;
        return;
    }
    if (r < rates_.lose + rates_.duplicate) {
        ++damaged_;
        ready.insert(ready.end(), packet.begin(), packet.end());
    } else if (r < rates_.lose + rates_.duplicate + rates_.corrupt && packet.size() >= 5) {
        ++damaged_;
        // SEQ is at 2, the check just before the CR; a flip never makes a SOH or a CR. Nor
        // does it turn the TYPE into a Send-Init or Init: those are checked with the 6-bit
        // sum whatever check was agreed, which passes a packet with a CRC 1 time in 64.
        const size_t at = 2 + random_() % (packet.size() - 3);
        const auto forbidden = [&](uint8_t b) {
            return b == kSoh || b == kCr || (at == 3 && (b == 'S' || b == 'I'));
        };
        uint8_t flipped;
        do {
            flipped = static_cast<uint8_t>(packet[at]) ^ (1u << (random_() % 8));
        } while (forbidden(flipped));
        packet[at] = static_cast<char>(flipped);
    }
    ready.insert(ready.end(), packet.begin(), packet.end());
}

int KermitFaultyLink::WriteByte(int c) {
    pass(out_, static_cast<uint8_t>(c));
    while (!out_.ready.empty()) {
        if (int r = FaultyLink::WriteByte(out_.ready.front())) return r;
        out_.ready.pop_front();
    }
    return 0;
}

// A gathered packet that is ready to be read is waiting, whatever the line holds.
int KermitFaultyLink::WaitReady(int event, int block) {
    if (event == 1 && !in_.ready.empty()) return 1;
    return FaultyLink::WaitReady(event, block);
}

int KermitFaultyLink::ReadByte() {
    while (in_.ready.empty()) {
        const int c = FaultyLink::ReadByte();
        if (c < 0) return c;
        pass(in_, static_cast<uint8_t>(c));
    }
    const int c = in_.ready.front();
    in_.ready.pop_front();
    return c;
}

int KermitFaultyLink::InputCount() {
    return static_cast<int>(in_.ready.size()) + FaultyLink::InputCount();
}

void KermitFaultyLink::PurgeInput() {
    in_ = Direction{};
    FaultyLink::PurgeInput();
}
