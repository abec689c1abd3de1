#include "auto/LiteralPrefilter.h"

#include <algorithm>
#include <deque>

LiteralPrefilter::LiteralPrefilter(const std::vector<std::string>& keys) : seen_(keys.size(), 0) {
    for (const std::string& key : keys)
        for (char c : key)
            byteClass_[static_cast<uint8_t>(c)] = 1;
    for (int b = 0; b < 256; ++b)
        if (byteClass_[b]) byteClass_[b] = static_cast<uint8_t>(classCount_++);
    auto edgeOf = [&](std::vector<int32_t>& next, size_t state, char c) -> int32_t& {
        return next[state * classCount_ + byteClass_[static_cast<uint8_t>(c)]];
    };

    // The trie: -1 marks a missing edge until the breadth-first pass fills it.
    std::vector<int32_t> next(classCount_, -1);
    std::vector<std::vector<uint32_t>> ends(1);
    for (uint32_t id = 0; id < keys.size(); ++id) {
        size_t state = 0;
        for (char c : keys[id]) {
            if (edgeOf(next, state, c) < 0) {
                edgeOf(next, state, c) = static_cast<int32_t>(ends.size());
                ends.emplace_back();
                next.resize(next.size() + classCount_, -1);
            }
            state = static_cast<size_t>(edgeOf(next, state, c));
        }
        ends[state].push_back(id);
    }

    // Failure links in breadth-first order turn the trie into a full automaton; every state
    // also reports what its failure state reports.
    std::vector<int32_t> fail(ends.size(), 0);
    std::deque<int32_t> queue;
    for (size_t c = 0; c < classCount_; ++c) {
        if (next[c] < 0) {
            next[c] = 0;
        } else {
            queue.push_back(next[c]);
        }
    }
    while (!queue.empty()) {
        const int32_t state = queue.front();
        queue.pop_front();
        const std::vector<uint32_t>& inherited = ends[fail[state]];
        ends[state].insert(ends[state].end(), inherited.begin(), inherited.end());
        for (size_t c = 0; c < classCount_; ++c) {
            int32_t& edge = next[state * classCount_ + c];
            const int32_t viaFail = next[fail[state] * classCount_ + c];
            if (edge < 0) {
                edge = viaFail;
            } else {
                fail[edge] = viaFail;
                queue.push_back(edge);
            }
        }
    }

    table_.reserve(next.size());
    for (int32_t state : next)
        table_.push_back(static_cast<uint32_t>(state) * classCount_ |
                         (ends[state].empty() ? 0 : kReports));
    for (const std::vector<uint32_t>& ids : ends) {
        outputStart_.push_back(static_cast<uint32_t>(outputs_.size()));
        outputs_.insert(outputs_.end(), ids.begin(), ids.end());
    }
    outputStart_.push_back(static_cast<uint32_t>(outputs_.size()));
}

void LiteralPrefilter::Find(std::string_view text, std::vector<uint32_t>& ids) {
    if (seen_.empty()) return;
    if (++pass_ == 0) {  // the pass counter wrapped: forget every mark
        std::fill(seen_.begin(), seen_.end(), 0);
        pass_ = 1;
    }
    // Locals, so that the compiler keeps them in registers across the reports.
    const uint32_t* table = table_.data();
    const uint8_t* classes = byteClass_;
    uint32_t row = 0;
    for (char c : text) {
        const uint32_t entry = table[row + classes[static_cast<uint8_t>(c)]];
        row = entry & ~kReports;
        if (entry & kReports) report(row / classCount_, ids);
    }
}

void LiteralPrefilter::report(uint32_t state, std::vector<uint32_t>& ids) {
    for (uint32_t o = outputStart_[state]; o < outputStart_[state + 1]; ++o) {
        const uint32_t id = outputs_[o];
        if (seen_[id] == pass_) continue;
        seen_[id] = pass_;
        ids.push_back(id);
    }
}
