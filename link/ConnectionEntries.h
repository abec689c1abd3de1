#pragma once
// The stored connection entries: modem entries (a service's access numbers, dialled by the
// dialler) and telnet entries (a host and port). Each is a record of the profile store (CP949)
// with "Title", "Type", "Host" (the service it belongs to), "IconFile", "IconIndex",
// "WallPaper" and "ReadOnly" (no editing or deleting); modem entries add "Phone" (PhoneRecords)
// and "Dialer", telnet entries "Server" and "Port".
#include <optional>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"
#include "link/CommandLine.h"

enum class EntryKind { Modem, Telnet };

// The field's text, "" when the record lacks it.
const std::string& EntryField(const Record& entry, const std::string& name);
bool IsReadOnly(const Record& entry);

class EntryStore {
public:
    explicit EntryStore(Registry& registry) : registry_(registry) {}

    // Every entry of the kind in store order; "Type" filled in where it is missing.
    std::vector<Record> List(EntryKind kind);
    std::optional<Record> Find(EntryKind kind, const std::string& title);
    // Writes the entry over the one stored as `storedTitle`, or adds it when there is none.
    // Fields the entry lacks stay as they are stored. False for a read-only stored entry or
    // when the store refused.
    bool Save(EntryKind kind, const Record& entry, const std::string& storedTitle = "");
    // False for a read-only or missing entry.
    bool Delete(EntryKind kind, const std::string& title);
    // The dialler writing its list back: only the stored modem entry's "Phone" changes.
    bool WritePhone(const std::string& title, const std::string& phone);

private:
    std::optional<RegKey> findKey(int recordKind, const std::string& title, CRecordStore& store);

    Registry& registry_;
};

// A telnet entry's "Server": the host, or "%s:%d" with the port when it is not 23.
std::string TelnetServerValue(const std::string& host, int port);
// Host and port of a telnet entry, split from "Server" as connecting splits it. "Port" stays
// in the store but is not read: "Server" says it.
TelnetAddress TelnetEntryAddress(const Record& entry);
