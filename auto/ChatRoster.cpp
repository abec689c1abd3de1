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
    const uint32_t key = keyOf(id);
    for (auto at = idKeys_.begin(); (at = std::find(at, idKeys_.end(), key)) != idKeys_.end();
         ++at) {
        const auto index = static_cast<size_t>(at - idKeys_.begin());
        if (entries_[index]->id == id) return index;
    }
    return std::nullopt;
}

// Names are looked up only on the services whose chat lines carry no ID, and on renames.
std::optional<size_t> ChatRoster::FindByName(std::string_view name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->name == name) return i;
    return std::nullopt;
}

void ChatRoster::Insert(size_t at, ChatParticipant entry) {
    idKeys_.insert(idKeys_.begin() + static_cast<long>(at), keyOf(entry.id));
    entries_.insert(entries_.begin() + static_cast<long>(at),
                    std::make_unique<ChatParticipant>(std::move(entry)));
}

void ChatRoster::Erase(size_t index) {
    idKeys_.erase(idKeys_.begin() + static_cast<long>(index));
    entries_.erase(entries_.begin() + static_cast<long>(index));
}

void ChatRoster::Clear() {
    idKeys_.clear();
    entries_.clear();
}

void ChatRoster::MoveToEnd(size_t index) {
    rotateToEnd(idKeys_, index);
    rotateToEnd(entries_, index);
}

void ChatRoster::MoveToFront(size_t index) {
    rotateToFront(idKeys_, index);
    rotateToFront(entries_, index);
}

void ChatRoster::SetId(size_t index, const std::string& id) {
    entries_[index]->id = id;
    idKeys_[index] = keyOf(id);
}
