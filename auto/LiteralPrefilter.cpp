#include "auto/LiteralPrefilter.h"

#include <algorithm>
#include <deque>

LiteralPrefilter::LiteralPrefilter(const std::vector<std::string>& keys)
    : keyCount_(static_cast<uint32_t>(keys.size())), seen_(keys.size(), 0) {
    for (const std::string& key : keys)
        for (char c : key)
            byteClass_[static_cast<uint8_t>(c)] = 1;
    for (int b = 0; b < 256; ++b)
        if (byteClass_[b]) byteClass_[b] = static_cast<uint8_t>(classCount_++);

    // The trie: -1 marks a missing edge until the breadth-first pass fills it.
    table_.assign(classCount_, -1);
    std::vector<std::vector<uint32_t>> ends(1);
    for (uint32_t id = 0; id < keys.size(); ++id) {
        int32_t state = 0;
        for (char c : keys[id]) {
            int32_t& edge = table_[state * classCount_ + byteClass_[static_cast<uint8_t>(c)]];
            if (edge < 0) {
                edge = static_cast<int32_t>(ends.size());
                ends.emplace_back();
                table_.resize(table_.size() + classCount_, -1);
            }
            state = table_[state * classCount_ + byteClass_[static_cast<uint8_t>(c)]];
        }
        ends[state].push_back(id);
    }

    // Failure links in breadth-first order turn the trie into a full automaton; every state
    // also reports what its failure state reports.
    const size_t states = ends.size();
    std::vector<int32_t> fail(states, 0);
    std::deque<int32_t> queue;
    for (size_t c = 0; c < classCount_; ++c) {
        int32_t& edge = table_[c];
        if (edge < 0) {
            edge = 0;
        } else {
            queue.push_back(edge);
        }
    }
    table_[0] = 0;  // bytes no key uses always lead back to the root
    while (!queue.empty()) {
        const int32_t state = queue.front();
        queue.pop_front();
        const std::vector<uint32_t>& inherited = ends[fail[state]];
        ends[state].insert(ends[state].end(), inherited.begin(), inherited.end());
        for (size_t c = 0; c < classCount_; ++c) {
            int32_t& edge = table_[state * classCount_ + c];
            const int32_t viaFail = table_[fail[state] * classCount_ + c];
            if (edge < 0) {
                edge = viaFail;
            } else {
                fail[edge] = viaFail;
                queue.push_back(edge);
            }
        }
    }

    outputStart_.reserve(states + 1);
    for (const std::vector<uint32_t>& ids : ends) {
        outputStart_.push_back(static_cast<uint32_t>(outputs_.size()));
        outputs_.insert(outputs_.end(), ids.begin(), ids.end());
    }
    outputStart_.push_back(static_cast<uint32_t>(outputs_.size()));
}

void LiteralPrefilter::Find(std::string_view text, std::vector<uint32_t>& ids) {
    if (keyCount_ == 0) return;
    if (++pass_ == 0) {  // the pass counter wrapped: forget every mark
        std::fill(seen_.begin(), seen_.end(), 0);
        pass_ = 1;
    }
    int32_t state = 0;
    for (char c : text) {
        state = next(state, static_cast<uint8_t>(c));
        for (uint32_t o = outputStart_[state]; o < outputStart_[state + 1]; ++o) {
            const uint32_t id = outputs_[o];
            if (seen_[id] == pass_) continue;
            seen_[id] = pass_;
            ids.push_back(id);
        }
    }
}
