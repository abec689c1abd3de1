#include "auto/ChatRoster.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

uint32_t load32(const char* p) {
    uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// An ID of up to seven bytes is its key: its bytes and, in the top byte, its length, so that
// equal keys mean equal IDs and a lookup reads no entry. Those bytes are read in at most two
// loads, whatever the length. A longer ID gets a hash of its first eight bytes and its length,
// with 8 in the top byte, which no short ID has there.
constexpr size_t kExactKeyBytes = 7;
static_assert(std::endian::native == std::endian::little, "the two loads overlap by place");

uint64_t keyOf(std::string_view id) {
    const char* p = id.data();
    const size_t n = id.size();
    if (n > kExactKeyBytes) {
        uint64_t head;
        std::memcpy(&head, p, sizeof head);
        return ((head ^ n) * 0x9E3779B97F4A7C15u) >> 8 | uint64_t{8} << 56;
    }
    uint64_t bytes = 0;
    if (n >= 4) {
        bytes = load32(p) | uint64_t{load32(p + n - 4)} << (8 * (n - 4));
    } else if (n > 0) {
        const auto at = [p](size_t i) { return uint64_t{static_cast<uint8_t>(p[i])} << (8 * i); };
        bytes = at(0) | at(n / 2) | at(n - 1);
    }
    return bytes | uint64_t{n} << 56;
}

template <class Vector>
void rotateToEnd(Vector& items, size_t index) {
    std::rotate(items.begin() + static_cast<long>(index),
                items.begin() + static_cast<long>(index) + 1, items.end());
}

template <class Vector>
void rotateToFront(Vector& items, size_t index) {
    std::rotate(items.begin(), items.begin() + static_cast<long>(index),
                items.begin() + static_cast<long>(index) + 1);
}

}  // namespace

std::optional<size_t> ChatRoster::FindById(std::string_view id) const {
    if (slotsStale_) buildSlots();
    const uint32_t entry = slotEntries_[findSlot(keyOf(id), id)];
    if (entry == 0) return std::nullopt;
    return entry - 1;
}

// The slot that holds the ID, or the empty slot where its probe ends.
size_t ChatRoster::findSlot(uint64_t key, std::string_view id) const {
    const size_t mask = slotEntries_.size() - 1;
    size_t slot = homeOf(key);
    while (slotEntries_[slot] != 0 &&
           (slotKeys_[slot] != key ||
            (id.size() > kExactKeyBytes && entries_[slotEntries_[slot] - 1]->id != id)))
        slot = (slot + 1) & mask;
    return slot;
}

// The top bits of the key times a large odd number, which depend on all of the key's bits: IDs
// that differ only in their last bytes differ only in the key's high bits.
size_t ChatRoster::homeOf(uint64_t key) const {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15u) >> slotShift_);
}

size_t ChatRoster::slotOf(size_t index) const {
    return findSlot(idKeys_[index], entries_[index]->id);
}

// At least twice as many slots as entries, so that probes stay short. An ID already there keeps
// its first entry.
void ChatRoster::buildSlots() const {
    int bits = 4;
    while ((size_t{1} << bits) < 2 * entries_.size())
        ++bits;
    slotShift_ = 64 - bits;
    slotKeys_.assign(size_t{1} << bits, 0);
    slotEntries_.assign(size_t{1} << bits, 0);
    for (size_t index = 0; index < entries_.size(); ++index) {
        const size_t slot = slotOf(index);
        if (slotEntries_[slot] != 0) continue;
        slotKeys_[slot] = idKeys_[index];
        slotEntries_[slot] = entryOf(index);
    }
    slotsStale_ = false;
}

// People come, go and whisper all the time in a busy room, so those changes mend the table in
// place: a pass over its entry numbers, without branches, and at most one slot filled or
// emptied. A change that hands an ID over to a later entry with the same ID leaves the table to
// be built again.
template <class NewEntry>
void ChatRoster::renumberSlots(NewEntry newEntry) {
    for (uint32_t& entry : slotEntries_)
        entry = newEntry(entry);
}

bool ChatRoster::hasLaterTwin(size_t index) const {
    for (size_t other = index + 1; other < entries_.size(); ++other)
        if (idKeys_[other] == idKeys_[index] && entries_[other]->id == entries_[index]->id)
            return true;
    return false;
}

// Empties a slot and moves later members of its probe run back, so that no probe stops short.
void ChatRoster::eraseSlot(size_t hole) {
    const size_t mask = slotEntries_.size() - 1;
    for (size_t next = (hole + 1) & mask; slotEntries_[next] != 0; next = (next + 1) & mask) {
        const size_t home = homeOf(slotKeys_[next]);
        if (((next - home) & mask) >= ((next - hole) & mask)) {
            slotKeys_[hole] = slotKeys_[next];
            slotEntries_[hole] = slotEntries_[next];
            hole = next;
        }
    }
    slotEntries_[hole] = 0;
}

// Names are looked up only on the services whose chat lines carry no ID, and on renames.
std::optional<size_t> ChatRoster::FindByName(std::string_view name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->name == name) return i;
    return std::nullopt;
}

void ChatRoster::Insert(size_t at, ChatParticipant entry) {
    const uint64_t key = keyOf(entry.id);
    idKeys_.insert(idKeys_.begin() + static_cast<long>(at), key);
    entries_.insert(entries_.begin() + static_cast<long>(at),
                    std::make_unique<ChatParticipant>(std::move(entry)));
    if (slotsStale_ || 2 * entries_.size() > slotEntries_.size()) {
        slotsStale_ = true;
        return;
    }
    const uint32_t inserted = entryOf(at);
    renumberSlots([inserted](uint32_t e) { return e + (e >= inserted); });
    const size_t slot = slotOf(at);
    if (slotEntries_[slot] == 0 || slotEntries_[slot] > inserted) {
        slotKeys_[slot] = key;
        slotEntries_[slot] = inserted;
    }
}

void ChatRoster::Erase(size_t index) {
    if (!slotsStale_) {
        const uint32_t erased = entryOf(index);
        const size_t slot = slotOf(index);
        if (slotEntries_[slot] == erased && hasLaterTwin(index)) {
            slotsStale_ = true;
        } else {
            if (slotEntries_[slot] == erased) eraseSlot(slot);
            renumberSlots([erased](uint32_t e) { return e - (e > erased); });
        }
    }
    idKeys_.erase(idKeys_.begin() + static_cast<long>(index));
    entries_.erase(entries_.begin() + static_cast<long>(index));
}

void ChatRoster::Clear() {
    slotsStale_ = true;
    idKeys_.clear();
    entries_.clear();
}

void ChatRoster::MoveToEnd(size_t index) {
    if (!slotsStale_) {
        const uint32_t moved = entryOf(index);
        if (slotEntries_[slotOf(index)] == moved && hasLaterTwin(index)) {
            slotsStale_ = true;
        } else {
            const uint32_t last = entryOf(entries_.size() - 1);
            renumberSlots(
                [moved, last](uint32_t e) { return e == moved ? last : e - (e > moved); });
        }
    }
    rotateToEnd(idKeys_, index);
    rotateToEnd(entries_, index);
}

// The moved entry comes first, so its ID is found there from now on.
void ChatRoster::MoveToFront(size_t index) {
    if (!slotsStale_) {
        const uint32_t moved = entryOf(index);
        const size_t slot = slotOf(index);
        renumberSlots([moved](uint32_t e) { return e + ((e != 0) & (e < moved)); });
        slotEntries_[slot] = entryOf(0);
    }
    rotateToFront(idKeys_, index);
    rotateToFront(entries_, index);
}

void ChatRoster::SetId(size_t index, const std::string& id) {
    slotsStale_ = true;
    entries_[index]->id = id;
    idKeys_[index] = keyOf(id);
}
