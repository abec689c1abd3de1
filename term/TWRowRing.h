#pragma once
// A ring of fixed-width rows: logical row r lives at ((start + r) mod capacity) * width, so the
// whole ring scrolls by moving start.
#include <cstdint>
#include <cstring>
#include <vector>

struct TWRowRing {
    TWRowRing(int capacity, int width, uint8_t fill)
        : base(static_cast<size_t>(capacity) * width, fill), capacity(capacity), width(width) {}

    // r is a logical row, 0 <= r < capacity.
    uint8_t* Row(int r) { return base.data() + static_cast<size_t>(Slot(r)) * width; }
    const uint8_t* Row(int r) const { return base.data() + static_cast<size_t>(Slot(r)) * width; }
    uint8_t* AtSlot(int slot) { return base.data() + static_cast<size_t>(slot) * width; }
    void Advance(int n) { start = (start + n) % capacity; }
    void CopyRow(int to, int from) { std::memcpy(Row(to), Row(from), width); }
    void FillRow(int r, uint8_t value) { std::memset(Row(r), value, width); }

    // Where logical row r sits in the ring. Rings that always turn together share slots, so
    // one lookup serves all of them. Rows are found for every byte shown: no division here.
    int Slot(int r) const {
        int i = start + r;
        return i >= capacity ? i - capacity : i;
    }

    std::vector<uint8_t> base;
    int start = 0;
    int capacity;
    int width;
};
