#include "auto/CRecordStore.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "auto/PasswordScrambler.h"
#include "auto/ProfileLayout.h"

namespace {

const std::string kTitle = "Title";
const std::string kPassword = "Password";

bool isTitle(const std::string& field) {
    return Registry::foldName(field) == Registry::foldName(kTitle);
}

// The stored name of a field: the title is the unnamed value.
std::string valueName(const std::string& field) {
    return isTitle(field) ? "" : field;
}

std::string numberedName(long long index) {
    char name[24];
    std::snprintf(name, sizeof name, "%03lld", index);
    return name;
}

bool allDigits(const std::string& name) {
    return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool CRecordStore::SelectKind(int kind) {
    const RecordKindInfo* info = recordKindInfo(kind);
    if (!info) return false;
    std::optional<RegKey> section = createSection(registry_, info->section);
    if (!section) return false;
    kind_ = info;
    section_ = *section;
    return true;
}

std::optional<RegKey> CRecordStore::OpenChild(std::optional<RegKey> parent,
                                              const std::optional<std::string>& name, bool create) {
    RegKey list = parent.value_or(section_);
    if (!name) {
        std::vector<RegChild> children = registry_.subkeys(list);
        return children.empty() ? std::nullopt : std::optional<RegKey>(children.front().key);
    }
    std::optional<RegKey> child = registry_.openKey(list, *name);
    if (!child && create) child = registry_.createKey(list, *name);
    return child;
}

std::optional<RegKey> CRecordStore::FindRecord(const std::string& title) {
    for (const RegChild& child : registry_.subkeys(section_))
        if (registry_.value(child.key, "").value_or(child.name) == title) return child.key;
    return std::nullopt;
}

int CRecordStore::Count(RegKey list) {
    return static_cast<int>(registry_.subkeys(list).size());
}

std::optional<RegKey> CRecordStore::RecordAt(RegKey list, int index) {
    std::vector<RegChild> children = registry_.subkeys(list);
    if (index < 0 || index >= static_cast<int>(children.size())) return std::nullopt;
    return children[index].key;
}

// Shrinking drops the last records with everything below them; growing appends numbered
// records after the last, so that index i is always the i-th child.
bool CRecordStore::Resize(RegKey list, int count) {
    return registry_.transaction([&] {
        std::vector<RegChild> children = registry_.subkeys(list);
        for (int i = static_cast<int>(children.size()) - 1; i >= count && i >= 0; --i)
            if (!registry_.deleteKey(children[i].key)) return false;
        for (int i = static_cast<int>(children.size()); i < count; ++i)
            if (!AddRecord(list)) return false;
        return true;
    });
}

std::optional<RegKey> CRecordStore::AddRecord(RegKey list, const std::string& name) {
    std::optional<RegKey> added;
    const bool committed = registry_.transaction([&] {
        std::string childName = name;
        if (childName.empty()) {
            // Numbered children enumerate first, in numeric order: the last of them is the
            // highest number.
            long long next = 0;
            for (const RegChild& child : registry_.subkeys(list))
                if (allDigits(child.name) && child.name.size() < 18)
                    next = std::stoll(child.name) + 1;
            childName = numberedName(next);
        }
        added = registry_.createKey(list, childName);
        return added.has_value();
    });
    // A key of a rolled-back transaction names nothing.
    return committed ? added : std::nullopt;
}

bool CRecordStore::DeleteRecord(RegKey list, int index) {
    return registry_.transaction([&] {
        std::optional<RegKey> record = RecordAt(list, index);
        return record && registry_.deleteKey(*record);
    });
}

Record CRecordStore::recordFrom(const std::string& keyName,
                                const std::vector<RegValue>& values) const {
    bool readsTitle = !kind_ || kind_->readsTitle;
    bool readsAll = !kind_ || kind_->readsAllValues;
    Record record;
    std::unordered_map<std::string, const std::string*> byName;
    for (const RegValue& value : values) {
        byName[Registry::foldName(value.name)] = &value.data;
        if (readsAll && !value.name.empty()) record[value.name] = value.data;
    }
    if (readsTitle) {
        auto title = byName.find("");
        record[kTitle] = title != byName.end() ? *title->second : keyName;
    }
    if (kind_ && !readsAll) {
        for (const std::string& field : kind_->fields) {
            auto found = byName.find(Registry::foldName(field));
            if (found != byName.end()) record[field] = *found->second;
        }
    }
    return record;
}

bool CRecordStore::ReadRecord(RegKey key, Record& record) {
    std::string name;
    std::vector<RegValue> values = registry_.values(key);
    // The key's own name stands in for a missing title, so look it up only then.
    if (std::none_of(values.begin(), values.end(), [](auto& v) { return v.name.empty(); }))
        name = registry_.keyName(key);
    record = recordFrom(name, values);
    return true;
}

bool CRecordStore::WriteRecord(RegKey key, const Record& record) {
    return registry_.transaction([&] {
        std::unordered_map<std::string, std::string> stored;
        for (RegValue& value : registry_.values(key))
            stored[Registry::foldName(value.name)] = std::move(value.data);
        for (const auto& [field, text] : record) {
            std::string name = valueName(field);
            auto found = stored.find(Registry::foldName(name));
            if (found != stored.end() && found->second == text) continue;
            if (!registry_.setValue(key, name, text)) return false;
        }
        return true;
    });
}

bool CRecordStore::DeleteValues(RegKey key, const Record& names) {
    return registry_.transaction([&] {
        for (const auto& entry : names)
            if (!registry_.deleteValue(key, valueName(entry.first))) return false;
        return true;
    });
}

std::vector<Record> CRecordStore::ReadList(RegKey list) {
    std::vector<Record> records;
    for (const RegChildContents& child : registry_.subkeysWithValues(list))
        records.push_back(recordFrom(child.name, child.values));
    return records;
}

bool CRecordStore::writeList(RegKey list, const std::vector<Record>& records) {
    if (!registry_.deleteSubkeys(list)) return false;
    for (size_t i = 0; i < records.size(); ++i) {
        std::optional<RegKey> record = registry_.createKey(list, numberedName(i));
        if (!record) return false;
        for (const auto& [field, text] : records[i])
            if (!registry_.setValue(*record, valueName(field), text)) return false;
    }
    return true;
}

bool CRecordStore::ReplaceList(RegKey list, const std::vector<Record>& records) {
    if (!registry_.transaction([&] { return writeList(list, records); })) return false;
    if (kind_) NotifyChanged(kind_->kind);
    return true;
}

std::optional<RegKey> CRecordStore::serviceList(const std::string& service, int kind, bool create) {
    if (!SelectKind(kind)) return std::nullopt;
    std::optional<RegKey> found = FindRecord(service);
    if (!found) return std::nullopt;
    return create ? registry_.createKey(*found, kind_->subkey)
                  : registry_.openKey(*found, kind_->subkey);
}

bool CRecordStore::LoadList(const std::string& service, int kind, std::vector<Record>& records) {
    records.clear();
    std::optional<RegKey> list = serviceList(service, kind, false);
    if (list) records = ReadList(*list);
    return !records.empty();
}

bool CRecordStore::SaveList(const std::string& service, int kind,
                            const std::vector<Record>& records) {
    bool saved = registry_.transaction([&] {
        std::optional<RegKey> list = serviceList(service, kind, true);
        return list && writeList(*list, records);
    });
    if (saved) NotifyChanged(kind);
    return saved;
}

bool CRecordStore::LoadIdList(RegKey service, std::vector<Record>& records) {
    records.clear();
    if (!SelectKind(RecordKind::IdList)) return false;
    std::optional<RegKey> list = registry_.openKey(service, kind_->subkey);
    if (list) records = ReadList(*list);
    for (Record& record : records) {
        auto password = record.find(kPassword);
        if (password != record.end()) password->second = UnscramblePassword(password->second);
    }
    return !records.empty();
}

bool CRecordStore::SaveIdList(RegKey service, const std::vector<Record>& records) {
    std::vector<Record> stored = records;
    for (Record& record : stored) {
        auto password = record.find(kPassword);
        if (password != record.end()) password->second = ScramblePassword(password->second);
    }
    bool saved = SelectKind(RecordKind::IdList) && registry_.transaction([&] {
        std::optional<RegKey> list = registry_.createKey(service, kind_->subkey);
        return list && writeList(*list, stored);
    });
    if (saved) NotifyChanged(RecordKind::IdList);
    return saved;
}
