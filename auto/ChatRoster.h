#pragma once
// The participants of a chat room in list order, with a key of each ID kept beside them and a
// hash table by that key: a chat line looks its speaker up by ID as quickly in a room of a
// thousand as in a room of ten. Every change of order goes through here, so the keys always
// agree with the entries and the table is mended or built again; the entries are held by pointer,
// so that people coming, going and whispering move no names. Texts are CP949.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The colour sits beside the ID: a chat line looks up its speaker and reads the colour.
struct ChatParticipant {
    std::string id;   // "" until the host has told it
    int colour = -1;  // ChatColour
    std::string name;
};

class ChatRoster {
public:
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const ChatParticipant& operator[](size_t index) const { return *entries_[index]; }
    // With bounds checked.
    const ChatParticipant& at(size_t index) const { return *entries_.at(index); }

    // The first entry with the ID or the name.
    std::optional<size_t> FindById(std::string_view id) const;
    std::optional<size_t> FindByName(std::string_view name) const;

    void Insert(size_t at, ChatParticipant entry);
    void Erase(size_t index);
    void Clear();
    void MoveToEnd(size_t index);
    void MoveToFront(size_t index);
    void SetId(size_t index, const std::string& id);
    void SetName(size_t index, const std::string& name) { entries_[index]->name = name; }
    void SetColour(size_t index, int colour) { entries_[index]->colour = colour; }

private:
    // A slot names its entry by index + 1, so that 0 marks an empty slot.
    static uint32_t entryOf(size_t index) { return static_cast<uint32_t>(index + 1); }
    void buildSlots() const;
    size_t findSlot(uint64_t key, std::string_view id) const;
    size_t homeOf(uint64_t key) const;
    size_t slotOf(size_t index) const;
    bool hasLaterTwin(size_t index) const;
    template <class NewEntry>
    void renumberSlots(NewEntry newEntry);
    void eraseSlot(size_t hole);

    std::vector<std::unique_ptr<ChatParticipant>> entries_;
    // By entry: its ID's key, which for a short ID is the ID itself, compared before anything
    // else.
    std::vector<uint64_t> idKeys_;
    // A hash table of the entries by key (open addressing, the keys and the entries in arrays of
    // their own), mended by most changes of the list and otherwise built again at the next
    // lookup.
    mutable std::vector<uint64_t> slotKeys_;
    mutable std::vector<uint32_t> slotEntries_;
    mutable int slotShift_ = 0;
    mutable bool slotsStale_ = true;
};
