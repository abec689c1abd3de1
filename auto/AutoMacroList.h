#pragma once
// One service's auto macros as the session holds them: the stored records in list order, their
// patterns tokenised once, and a prefilter over each rule's longest literal piece so that a line
// is matched against the few rules that can match it, still in list order.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "auto/AutoMacroPattern.h"
#include "auto/CRecordStore.h"
#include "auto/LiteralPrefilter.h"

class AutoMacroList {
public:
    struct Match {
        size_t index;
        Captures captures;
    };

    // The `AutoMacro` list of the service (CP949 title); empty for an empty or unknown name.
    void Load(Registry& registry, const std::string& service);
    void Assign(std::vector<Record> records);

    // The first rule in list order that is on and matches; line: whole double-byte characters.
    std::optional<Match> FindMatch(std::string_view line);

    // Flips `Off` of a rule (1 becomes 0, anything below 1 becomes 1) in memory; false for an
    // index outside the list.
    bool Toggle(size_t index);

    const std::vector<Record>& Records() const { return records_; }
    bool IsOff(size_t index) const { return off_[index]; }

private:
    std::vector<Record> records_;
    std::vector<AutoMacroPattern> patterns_;
    std::vector<bool> off_;
    std::vector<uint32_t> withoutLiteral_;  // rules the prefilter cannot rule out
    LiteralPrefilter prefilter_;            // key i: the longest literal of rule keyRule_[i]
    std::vector<uint32_t> keyRule_;
    std::vector<uint32_t> candidates_;  // kept between lines, as starts_ is, to spare allocations
    std::vector<char> starts_;
};

// The `Off` field read with default -1: 1 or more switches the rule off.
bool AutoMacroOff(const Record& record);
