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
    // A table entry: the next state's row (state * classCount_), with this bit when that state
    // reports keys, so that the scan loads one entry per byte.
    static constexpr uint32_t kReports = 1u << 31;

    void report(uint32_t state, std::vector<uint32_t>& ids);

    uint8_t byteClass_[256] = {};  // 0: a byte no key uses
    uint32_t classCount_ = 1;
    std::vector<uint32_t> table_;        // row + class -> entry
    std::vector<uint32_t> outputStart_;  // ids of state s: outputs_[outputStart_[s]..[s+1])
    std::vector<uint32_t> outputs_;
    std::vector<uint32_t> seen_;  // per id: the pass that reported it last
    uint32_t pass_ = 0;
};
