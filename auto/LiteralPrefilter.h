#pragma once
// Finds, in one pass over a line, which of many literal keys occur in it. A key is looked for
// only where the line holds its last bytes: keys of four bytes or more are filed by a hash of
// their last four (the first ones are often a common word), keys of two or three bytes by their
// last two. Each position of the line tests one bit of each 8 KiB table (in the processor's
// first cache, and independent of the position before); only on a hit are the keys filed there
// read, and only those whose last bytes are the line's compared. A line then costs about the
// same whatever the number of keys. A table without keys takes no memory; one with keys about
// 12 KiB besides its keys.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class LiteralPrefilter {
public:
    // keys[i] non-empty; id i is reported for key i.
    explicit LiteralPrefilter(const std::vector<std::string>& keys = {});

    // Adds the ids of the keys that occur in text (each once, in no particular order).
    void Find(std::string_view text, std::vector<uint32_t>& ids);

private:
    static constexpr uint32_t kSlots = 1u << 16;

    // A key by the bytes it ends with (two or four, read as a number).
    struct Entry {
        uint32_t tail;
        uint32_t id;
    };
    // Keys filed by a 16-bit slot: a bit per slot in use, then the keys of the used slots in
    // slot order. A used slot's keys are found by its rank among the used slots.
    struct Table {
        std::vector<uint64_t> used;    // kSlots bits; empty when the table has no keys
        std::vector<uint32_t> before;  // per word of `used`: the used slots in the words before
        std::vector<uint32_t> start;   // keys of the used slot of rank r: entries[start[r]..[r+1])
        std::vector<Entry> entries;

        bool Empty() const { return entries.empty(); }
        uint32_t Rank(uint32_t slot) const;
        void Fill(std::vector<std::pair<uint32_t, Entry>> filed);
    };

    static bool isSet(const uint64_t* bits, uint32_t slot) {
        return bits[slot >> 6] >> (slot & 63) & 1;
    }
    static uint32_t pairAt(const unsigned char* at) { return at[0] << 8 | at[1]; }
    static uint32_t quadAt(const unsigned char* at);
    static uint32_t quadSlot(uint32_t quad) { return (quad * 0x9E3779B1u) >> 16; }
    // Reports the keys of the slot that end with `tail` at `end` of the text.
    void compare(const Table& table, uint32_t slot, uint32_t tail, std::string_view text,
                 size_t end, std::vector<uint32_t>& ids);
    void report(uint32_t id, std::vector<uint32_t>& ids);

    std::vector<std::string> keys_;
    bool singleUsed_[256] = {};   // bytes that are a key of one byte
    std::vector<Entry> singles_;  // keys of one byte, sorted by their byte
    Table pairs_;                 // keys of two or three bytes
    Table quads_;                 // keys of four bytes or more
    std::vector<uint32_t> seen_;  // per id: the pass that reported it last
    uint32_t pass_ = 0;
};
