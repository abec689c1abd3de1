#include "link/ConnectionEntries.h"

#include "auto/CSettingsSection.h"

namespace {

int recordKindOf(EntryKind kind) {
    return kind == EntryKind::Modem ? RecordKind::ModemEntry : RecordKind::TelnetEntry;
}

// "0" for modem entries, "1" for telnet entries.
std::string typeOf(EntryKind kind) {
    return kind == EntryKind::Modem ? "0" : "1";
}

}  // namespace

const std::string& EntryField(const Record& entry, const std::string& name) {
    static const std::string empty;
    auto it = entry.find(name);
    return it != entry.end() ? it->second : empty;
}

bool IsReadOnly(const Record& entry) {
    return parseDecimal(EntryField(entry, "ReadOnly")) != 0;
}

std::vector<Record> EntryStore::List(EntryKind kind) {
    CRecordStore store(registry_);
    if (!store.SelectKind(recordKindOf(kind))) return {};
    std::vector<Record> entries = store.ReadList(store.Section());
    for (Record& entry : entries)
        if (EntryField(entry, "Type").empty()) entry["Type"] = typeOf(kind);
    return entries;
}

std::optional<RegKey> EntryStore::findKey(int recordKind, const std::string& title,
                                          CRecordStore& store) {
    if (!store.SelectKind(recordKind)) return std::nullopt;
    return store.FindRecord(title);
}

std::optional<Record> EntryStore::Find(EntryKind kind, const std::string& title) {
    CRecordStore store(registry_);
    std::optional<RegKey> key = findKey(recordKindOf(kind), title, store);
    Record entry;
    if (!key || !store.ReadRecord(*key, entry)) return std::nullopt;
    if (EntryField(entry, "Type").empty()) entry["Type"] = typeOf(kind);
    return entry;
}

bool EntryStore::Save(EntryKind kind, const Record& entry, const std::string& storedTitle) {
    CRecordStore store(registry_);
    std::optional<RegKey> key;
    if (!storedTitle.empty()) key = findKey(recordKindOf(kind), storedTitle, store);
    return registry_.transaction([&] {
        if (key) {
            Record stored;
            if (!store.ReadRecord(*key, stored) || IsReadOnly(stored)) return false;
        } else {
            key = store.SelectKind(recordKindOf(kind)) ? store.AddRecord(store.Section())
                                                       : std::nullopt;
        }
        return key && store.WriteRecord(*key, entry);
    });
}

bool EntryStore::Delete(EntryKind kind, const std::string& title) {
    CRecordStore store(registry_);
    std::optional<RegKey> key = findKey(recordKindOf(kind), title, store);
    Record stored;
    if (!key || !store.ReadRecord(*key, stored) || IsReadOnly(stored)) return false;
    return registry_.deleteKey(*key);
}

bool EntryStore::WritePhone(const std::string& title, const std::string& phone) {
    CRecordStore store(registry_);
    std::optional<RegKey> key = findKey(RecordKind::ModemEntryPhone, title, store);
    return key && store.WriteRecord(*key, {{"Phone", phone}});
}

std::string TelnetServerValue(const std::string& host, int port) {
    return port == 23 ? host : host + ":" + std::to_string(port);
}

TelnetAddress TelnetEntryAddress(const Record& entry) {
    return SplitTelnetAddress(EntryField(entry, "Server"), 23);
}
