#pragma once
// Lists of records in the profile store. A record is a map from field name to text, stored as
// one subkey per record: `Title` is the subkey's unnamed value (the subkey's name when that is
// missing), every other field a named value. Lists written here name their subkeys "000",
// "001", ... in list order. Writes return false on failure and leave the store as it was.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "auto/RecordKinds.h"
#include "auto/Registry.h"

using Record = std::map<std::string, std::string>;

class CRecordStore {
public:
    explicit CRecordStore(Registry& registry) : registry_(registry) {}

    // Binds the kind and its section, creating the section when missing.
    bool SelectKind(int kind);
    RegKey Section() const { return section_; }

    // The child of `parent` (the section when absent) named `name`, created when missing and
    // `create` is set; with no name, the first child.
    std::optional<RegKey> OpenChild(std::optional<RegKey> parent,
                                    const std::optional<std::string>& name, bool create);
    // The first record of the section whose title equals `title` byte for byte.
    std::optional<RegKey> FindRecord(const std::string& title);

    int Count(RegKey list);
    std::optional<RegKey> RecordAt(RegKey list, int index);
    bool Resize(RegKey list, int count);
    // Adds a subkey named `name`, or with an empty name the number after the list's last.
    std::optional<RegKey> AddRecord(RegKey list, const std::string& name = "");
    bool DeleteRecord(RegKey list, int index);

    // Reads the title (unless the kind has none) and the kind's fields that exist.
    bool ReadRecord(RegKey key, Record& record);
    // Writes every field of the record; fields absent from it stay as they are.
    bool WriteRecord(RegKey key, const Record& record);
    bool DeleteValues(RegKey key, const Record& names);

    // Every record of a list in order, read as ReadRecord does.
    std::vector<Record> ReadList(RegKey list);
    // Replaces a whole list in one transaction: afterwards the list key holds exactly the
    // given records, "000" onwards, each with exactly its fields.
    bool ReplaceList(RegKey list, const std::vector<Record>& records);

    // The lists inside a service (bookmarks, auto macros, ID notebook), found by the
    // service's title. False when the service does not exist; LoadList also when it is empty.
    bool LoadList(const std::string& service, int kind, std::vector<Record>& records);
    bool SaveList(const std::string& service, int kind, const std::vector<Record>& records);
    // The service's `ID` list, passwords scrambled in the store and clear in memory.
    bool LoadIdList(RegKey service, std::vector<Record>& records);
    bool SaveIdList(RegKey service, const std::vector<Record>& records);

    // Tells the subscribers of registry.listChanges() that a list of `kind` changed.
    void NotifyChanged(int kind) { registry_.listChanges().notify(kind); }

    const std::string& lastError() const { return registry_.lastError(); }
    Registry& registry() { return registry_; }

private:
    Record recordFrom(const std::string& keyName, const std::vector<RegValue>& values) const;
    std::optional<RegKey> serviceList(const std::string& service, int kind, bool create);
    bool writeList(RegKey list, const std::vector<Record>& records);  // inside a transaction

    Registry& registry_;
    const RecordKindInfo* kind_ = nullptr;
    RegKey section_;
};
