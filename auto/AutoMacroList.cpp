#include "auto/AutoMacroList.h"

#include <algorithm>

#include "platform/StoredValues.h"

bool AutoMacroOff(const Record& record) {
    auto off = record.find("Off");
    return off != record.end() && !off->second.empty() && parseDecimal(off->second) >= 1;
}

void AutoMacroList::Load(Registry& registry, const std::string& service) {
    std::vector<Record> records;
    if (!service.empty()) CRecordStore(registry).LoadList(service, RecordKind::AutoMacro, records);
    Assign(std::move(records));
}

void AutoMacroList::Assign(std::vector<Record> records) {
    records_ = std::move(records);
    patterns_.clear();
    off_.clear();
    withoutLiteral_.clear();
    keyRule_.clear();
    std::vector<std::string> keys;
    for (uint32_t i = 0; i < records_.size(); ++i) {
        auto pattern = records_[i].find("Pattern");
        patterns_.push_back(AutoMacroPattern::Tokenise(
            pattern == records_[i].end() ? std::string_view() : pattern->second));
        off_.push_back(AutoMacroOff(records_[i]));
        const std::string& key = patterns_.back().LongestLiteral();
        if (patterns_.back().tokens.empty()) continue;  // never matches
        if (key.empty()) {
            withoutLiteral_.push_back(i);
        } else {
            keys.push_back(key);
            keyRule_.push_back(i);
        }
    }
    prefilter_ = LiteralPrefilter(keys);
}

std::optional<AutoMacroList::Match> AutoMacroList::FindMatch(std::string_view line) {
    candidates_ = withoutLiteral_;
    const size_t unfiltered = candidates_.size();
    prefilter_.Find(line, candidates_);
    for (size_t i = unfiltered; i < candidates_.size(); ++i)
        candidates_[i] = keyRule_[candidates_[i]];
    if (candidates_.empty()) return std::nullopt;
    std::sort(candidates_.begin(), candidates_.end());

    CharStarts(line, starts_);
    Captures captures;
    for (uint32_t rule : candidates_) {
        if (off_[rule]) continue;
        if (MatchAutoMacroPattern(patterns_[rule], line, starts_, captures))
            return Match{rule, std::move(captures)};
    }
    return std::nullopt;
}

bool AutoMacroList::Toggle(size_t index) {
    if (index >= records_.size()) return false;
    off_[index] = !off_[index];
    records_[index]["Off"] = std::string(1, off_[index] ? '1' : '0');
    return true;
}
