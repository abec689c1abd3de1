#pragma once
// Finds, in one pass over a line, which of many literal keys occur in it: an Aho-Corasick
// automaton over the keys, stored as a dense table over the bytes the keys use. A line then
// costs the same whatever the number of keys.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class LiteralPrefilter {
public:
    // keys[i] non-empty; id i is reported for key i.
    explicit LiteralPrefilter(const std::vector<std::string>& keys = {});

    // Adds the ids of the keys that occur in text (each once, in no particular order).
    void Find(std::string_view text, std::vector<uint32_t>& ids);

private:
    int32_t next(int32_t state, uint8_t byte) const {
        return table_[static_cast<size_t>(state) * classCount_ + byteClass_[byte]];
    }

    uint8_t byteClass_[256] = {};  // 0: a byte no key uses
    size_t classCount_ = 1;
    std::vector<int32_t> table_;         // state * classCount_ + class -> state
    std::vector<uint32_t> outputStart_;  // ids of state s: outputs_[outputStart_[s]..[s+1])
    std::vector<uint32_t> outputs_;
    uint32_t keyCount_ = 0;
    std::vector<uint32_t> seen_;  // per id: the pass that reported it last
    uint32_t pass_ = 0;
};
