#include "auto/LiteralPrefilter.h"

#include <algorithm>
#include <cstring>

uint32_t LiteralPrefilter::quadAt(const unsigned char* at) {
    uint32_t quad;
    std::memcpy(&quad, at, sizeof quad);
    return quad;
}

void LiteralPrefilter::Table::Fill(const std::vector<std::pair<uint32_t, Entry>>& filed) {
    // A counting sort of the keys by slot.
    start.assign(kSlots + 1, 0);
    for (const auto& [slot, entry] : filed) {
        used[slot >> 6] |= uint64_t{1} << (slot & 63);
        ++start[slot + 1];
    }
    for (uint32_t s = 0; s < kSlots; ++s)
        start[s + 1] += start[s];
    std::vector<uint32_t> next(start.begin(), start.end() - 1);
    entries.resize(filed.size());
    for (const auto& [slot, entry] : filed)
        entries[next[slot]++] = entry;
}

LiteralPrefilter::LiteralPrefilter(const std::vector<std::string>& keys)
    : keys_(keys), seen_(keys.size(), 0) {
    std::vector<std::pair<uint32_t, Entry>> pairKeys, quadKeys;
    for (uint32_t id = 0; id < keys_.size(); ++id) {
        const auto* key = reinterpret_cast<const unsigned char*>(keys_[id].data());
        const size_t size = keys_[id].size();
        if (size == 1) {
            singleUsed_[key[0]] = hasSingles_ = true;
            singleIds_[key[0]].push_back(id);
        } else if (size < 4) {
            const uint32_t pair = pairAt(key + size - 2);
            pairKeys.push_back({pair, {pair, id}});
        } else {
            const uint32_t quad = quadAt(key + size - 4);
            quadKeys.push_back({quadSlot(quad), {quad, id}});
        }
    }
    pairs_.Fill(pairKeys);
    quads_.Fill(quadKeys);
}

void LiteralPrefilter::Find(std::string_view text, std::vector<uint32_t>& ids) {
    if (seen_.empty()) return;
    if (++pass_ == 0) {  // the pass counter wrapped: forget every mark
        std::fill(seen_.begin(), seen_.end(), 0);
        pass_ = 1;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    // Tables without keys are not consulted at all.
    const bool singles = hasSingles_, pairs = !pairs_.entries.empty(),
               quads = !quads_.entries.empty();
    for (size_t i = 0; i < size; ++i) {
        if (singles && singleUsed_[bytes[i]]) {
            for (uint32_t id : singleIds_[bytes[i]])
                report(id, ids);
        }
        if (i + 2 > size) break;
        if (const uint32_t pair = pairAt(bytes + i); pairs && pairs_.Used(pair))
            compare(pairs_, pair, pair, text, i + 2, ids);
        if (i + 4 > size) continue;
        const uint32_t quad = quadAt(bytes + i);
        if (const uint32_t slot = quadSlot(quad); quads && quads_.Used(slot))
            compare(quads_, slot, quad, text, i + 4, ids);
    }
}

void LiteralPrefilter::compare(const Table& table, uint32_t slot, uint32_t tail,
                               std::string_view text, size_t end, std::vector<uint32_t>& ids) {
    for (uint32_t e = table.start[slot]; e < table.start[slot + 1]; ++e) {
        const Entry& entry = table.entries[e];
        if (entry.tail != tail || seen_[entry.id] == pass_) continue;
        const std::string& key = keys_[entry.id];
        if (key.size() <= end && text.substr(end - key.size(), key.size()) == key)
            report(entry.id, ids);
    }
}

void LiteralPrefilter::report(uint32_t id, std::vector<uint32_t>& ids) {
    if (seen_[id] == pass_) return;
    seen_[id] = pass_;
    ids.push_back(id);
}
