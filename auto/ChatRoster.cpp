#include "auto/ChatRoster.h"

#include <algorithm>

namespace {

// FNV-1a: IDs are a few bytes long.
uint32_t hashOf(std::string_view text) {
    uint32_t hash = 2166136261u;
    for (char c : text)
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    return hash;
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
    const uint32_t hash = hashOf(id);
    for (size_t i = 0; i < idHashes_.size(); ++i)
        if (idHashes_[i] == hash && entries_[i]->id == id) return i;
    return std::nullopt;
}

// Names are looked up only on the services whose chat lines carry no ID, and on renames.
std::optional<size_t> ChatRoster::FindByName(std::string_view name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->name == name) return i;
    return std::nullopt;
}

void ChatRoster::Insert(size_t at, ChatParticipant entry) {
    idHashes_.insert(idHashes_.begin() + static_cast<long>(at), hashOf(entry.id));
    entries_.insert(entries_.begin() + static_cast<long>(at),
                    std::make_unique<ChatParticipant>(std::move(entry)));
}

void ChatRoster::Erase(size_t index) {
    idHashes_.erase(idHashes_.begin() + static_cast<long>(index));
    entries_.erase(entries_.begin() + static_cast<long>(index));
}

void ChatRoster::Clear() {
    idHashes_.clear();
    entries_.clear();
}

void ChatRoster::MoveToEnd(size_t index) {
    rotateToEnd(idHashes_, index);
    rotateToEnd(entries_, index);
}

void ChatRoster::MoveToFront(size_t index) {
    rotateToFront(idHashes_, index);
    rotateToFront(entries_, index);
}

void ChatRoster::SetId(size_t index, const std::string& id) {
    entries_[index]->id = id;
    idHashes_[index] = hashOf(id);
}
