#include "auto/LiteralPrefilter.h"

#include <algorithm>
#include <bit>
#include <cstring>

uint32_t LiteralPrefilter::quadAt(const unsigned char* at) {
    uint32_t quad;
    std::memcpy(&quad, at, sizeof quad);
    return quad;
}

void LiteralPrefilter::Table::Fill(std::vector<std::pair<uint32_t, Entry>> filed) {
    if (filed.empty()) return;
    std::stable_sort(filed.begin(), filed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    used.assign(kSlots / 64, 0);
    for (size_t i = 0; i < filed.size(); ++i) {
        const uint32_t slot = filed[i].first;
        if (i == 0 || slot != filed[i - 1].first) start.push_back(static_cast<uint32_t>(i));
        used[slot >> 6] |= uint64_t{1} << (slot & 63);
        entries.push_back(filed[i].second);
    }
    start.push_back(static_cast<uint32_t>(entries.size()));
    before.assign(used.size(), 0);
    for (size_t w = 1; w < used.size(); ++w)
        before[w] = before[w - 1] + static_cast<uint32_t>(std::popcount(used[w - 1]));
}

uint32_t LiteralPrefilter::Table::Rank(uint32_t slot) const {
    const uint64_t below = (uint64_t{1} << (slot & 63)) - 1;
    return before[slot >> 6] + static_cast<uint32_t>(std::popcount(used[slot >> 6] & below));
}

LiteralPrefilter::LiteralPrefilter(const std::vector<std::string>& keys)
    : keys_(keys), seen_(keys.size(), 0) {
    std::vector<std::pair<uint32_t, Entry>> pairKeys, quadKeys;
    for (uint32_t id = 0; id < keys_.size(); ++id) {
        const auto* key = reinterpret_cast<const unsigned char*>(keys_[id].data());
        const size_t size = keys_[id].size();
        if (size == 1) {
            singleUsed_[key[0]] = true;
            singles_.push_back({key[0], id});
        } else if (size < 4) {
            const uint32_t pair = pairAt(key + size - 2);
            pairKeys.push_back({pair, {pair, id}});
        } else {
            const uint32_t quad = quadAt(key + size - 4);
            quadKeys.push_back({quadSlot(quad), {quad, id}});
        }
    }
    std::stable_sort(singles_.begin(), singles_.end(),
                     [](const Entry& a, const Entry& b) { return a.tail < b.tail; });
    pairs_.Fill(std::move(pairKeys));
    quads_.Fill(std::move(quadKeys));
}

void LiteralPrefilter::Find(std::string_view text, std::vector<uint32_t>& ids) {
    if (seen_.empty()) return;
    if (++pass_ == 0) {  // the pass counter wrapped: forget every mark
        std::fill(seen_.begin(), seen_.end(), 0);
        pass_ = 1;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    // Tables without keys are not consulted at all. Their bits are reached through locals, which
    // a report between two positions cannot make the compiler read again.
    const bool singles = !singles_.empty();
    const uint64_t* pairBits = pairs_.Empty() ? nullptr : pairs_.used.data();
    const uint64_t* quadBits = quads_.Empty() ? nullptr : quads_.used.data();
    for (size_t i = 0; i < size; ++i) {
        if (singles && singleUsed_[bytes[i]]) {
            const auto [first, last] =
                std::equal_range(singles_.begin(), singles_.end(), Entry{bytes[i], 0},
                                 [](const Entry& a, const Entry& b) { return a.tail < b.tail; });
            for (auto single = first; single != last; ++single)
                report(single->id, ids);
        }
        if (i + 2 > size) break;
        if (const uint32_t pair = pairAt(bytes + i); pairBits && isSet(pairBits, pair))
            compare(pairs_, pair, pair, text, i + 2, ids);
        if (i + 4 > size) continue;
        const uint32_t quad = quadAt(bytes + i);
        if (const uint32_t slot = quadSlot(quad); quadBits && isSet(quadBits, slot))
            compare(quads_, slot, quad, text, i + 4, ids);
    }
}

void LiteralPrefilter::compare(const Table& table, uint32_t slot, uint32_t tail,
                               std::string_view text, size_t end, std::vector<uint32_t>& ids) {
    const uint32_t rank = table.Rank(slot);
    for (uint32_t e = table.start[rank]; e < table.start[rank + 1]; ++e) {
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
