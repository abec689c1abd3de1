#include "auto/ChatRoster.h"

#include <algorithm>
#include <cstring>

namespace {

// The first eight bytes and the length, mixed by one multiplication.
uint32_t keyOf(std::string_view id) {
    uint64_t head = 0;
    std::memcpy(&head, id.data(), std::min<size_t>(id.size(), sizeof head));
    return static_cast<uint32_t>(((head ^ id.size()) * 0x9E3779B97F4A7C15u) >> 32);
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
    const uint32_t key = keyOf(id);
    const size_t mask = slots_.size() - 1;
    for (size_t slot = key >> slotShift_; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const size_t index = slots_[slot] - 1;
        if (idKeys_[index] == key && entries_[index]->id == id) return index;
    }
    return std::nullopt;
}

// At least twice as many slots as entries, so that probes stay short; a key's top bits choose
// its slot, since IDs that differ only in their last bytes differ only there. An ID already
// there keeps its first entry.
void ChatRoster::buildSlots() const {
    int bits = 4;
    while ((size_t{1} << bits) < 2 * entries_.size())
        ++bits;
    const size_t mask = (size_t{1} << bits) - 1;
    slotShift_ = 32 - bits;
    slots_.assign(mask + 1, 0);
    for (size_t index = 0; index < entries_.size(); ++index) {
        size_t slot = idKeys_[index] >> slotShift_;
        while (slots_[slot] != 0 && !sameId(slots_[slot] - 1, index))
            slot = (slot + 1) & mask;
        if (slots_[slot] == 0) slots_[slot] = static_cast<uint32_t>(index + 1);
    }
    slotsStale_ = false;
}

bool ChatRoster::sameId(size_t a, size_t b) const {
    return idKeys_[a] == idKeys_[b] && entries_[a]->id == entries_[b]->id;
}

// Names are looked up only on the services whose chat lines carry no ID, and on renames.
std::optional<size_t> ChatRoster::FindByName(std::string_view name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->name == name) return i;
    return std::nullopt;
}

void ChatRoster::Insert(size_t at, ChatParticipant entry) {
    slotsStale_ = true;
    idKeys_.insert(idKeys_.begin() + static_cast<long>(at), keyOf(entry.id));
    entries_.insert(entries_.begin() + static_cast<long>(at),
                    std::make_unique<ChatParticipant>(std::move(entry)));
}

void ChatRoster::Erase(size_t index) {
    slotsStale_ = true;
    idKeys_.erase(idKeys_.begin() + static_cast<long>(index));
    entries_.erase(entries_.begin() + static_cast<long>(index));
}

void ChatRoster::Clear() {
    slotsStale_ = true;
    idKeys_.clear();
    entries_.clear();
}

void ChatRoster::MoveToEnd(size_t index) {
    slotsStale_ = true;
    rotateToEnd(idKeys_, index);
    rotateToEnd(entries_, index);
}

void ChatRoster::MoveToFront(size_t index) {
    slotsStale_ = true;
    rotateToFront(idKeys_, index);
    rotateToFront(entries_, index);
}

void ChatRoster::SetId(size_t index, const std::string& id) {
    slotsStale_ = true;
    entries_[index]->id = id;
    idKeys_[index] = keyOf(id);
}
