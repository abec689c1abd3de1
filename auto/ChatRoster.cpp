#include "auto/ChatRoster.h"

#include <algorithm>
#include <cstring>

namespace {

uint64_t headOf(std::string_view id) {
    uint64_t head = 0;
    std::memcpy(&head, id.data(), std::min<size_t>(id.size(), sizeof head));
    return head;
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
    const uint64_t head = headOf(id);
    for (auto at = idHeads_.begin(); (at = std::find(at, idHeads_.end(), head)) != idHeads_.end();
         ++at) {
        const auto index = static_cast<size_t>(at - idHeads_.begin());
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
    idHeads_.insert(idHeads_.begin() + static_cast<long>(at), headOf(entry.id));
    entries_.insert(entries_.begin() + static_cast<long>(at),
                    std::make_unique<ChatParticipant>(std::move(entry)));
}

void ChatRoster::Erase(size_t index) {
    idHeads_.erase(idHeads_.begin() + static_cast<long>(index));
    entries_.erase(entries_.begin() + static_cast<long>(index));
}

void ChatRoster::Clear() {
    idHeads_.clear();
    entries_.clear();
}

void ChatRoster::MoveToEnd(size_t index) {
    rotateToEnd(idHeads_, index);
    rotateToEnd(entries_, index);
}

void ChatRoster::MoveToFront(size_t index) {
    rotateToFront(idHeads_, index);
    rotateToFront(entries_, index);
}

void ChatRoster::SetId(size_t index, const std::string& id) {
    entries_[index]->id = id;
    idHeads_[index] = headOf(id);
}
