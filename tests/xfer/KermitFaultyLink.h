#pragma once
// A link that damages whole Kermit packets (SOH up to the CR that ends them) in both
// directions: on a seeded schedule a packet is lost, arrives twice, or has one bit flipped in
// one byte between its SEQ and its check (a damage every block check detects).
// Bytes outside packets pass unchanged.
#include <cstdint>
#include <deque>
#include <random>
#include <string>

#include "tests/fixtures/FaultyLink.h"

class KermitFaultyLink : public FaultyLink {
public:
    struct Rates {
        double lose = 0;
        double duplicate = 0;
        double corrupt = 0;
        uint32_t seed = 1;
    };
    KermitFaultyLink(GFComLink& inner, Clock& clock, Rates rates);

    int damagedPackets() const { return damaged_; }

    int WriteByte(int c) override;
    int WaitReady(int event, int block) override;
    int ReadByte() override;
    int InputCount() override;
    void PurgeInput() override;

private:
    // Bytes of one direction: the packet being gathered and what is ready to go on.
    struct Direction {
        bool inPacket = false;
        std::string packet;
        std::deque<uint8_t> ready;
    };
    // Takes one byte; what may go on lands in the direction's ready queue.
    void pass(Direction& d, uint8_t b);
    void damage(std::string& packet, std::deque<uint8_t>& ready);

    Rates rates_;
    std::mt19937 random_;
    Direction out_, in_;
    int damaged_ = 0;
};
