#pragma once
// The kinds of stored records: where each list lives and which fields a record of it carries.
#include <string>
#include <vector>

namespace RecordKind {
constexpr int Service = 1;
constexpr int ModemEntry = 2;
constexpr int TelnetEntry = 3;
constexpr int WebEntry = 4;
constexpr int Screen = 5;
constexpr int ModemEntryPhone = 6;  // the modem entries again, as the dialler edits them
constexpr int Bookmark = 7;
constexpr int ReceivedFile = 8;
constexpr int SentFile = 9;
constexpr int CaptureFile = 10;
constexpr int ServiceValues = 11;
constexpr int AutoMacro = 12;
constexpr int ServiceCommands = 13;
constexpr int ChatWindow = 14;
constexpr int IdNotebook = 15;
constexpr int IdList = 16;  // the `ID` list of a service, which has no number of its own
constexpr int Macro = 17;   // the keyboard macros of a service (values, not records)
}  // namespace RecordKind

struct RecordKindInfo {
    int kind;
    std::string section;              // under the user root
    std::string subkey;               // list inside a service record, or empty
    std::vector<std::string> fields;  // read besides the title (CP949)
    bool readsTitle;
    bool readsAllValues;  // every named value, whatever its name
};

// Nothing for an unknown kind.
const RecordKindInfo* recordKindInfo(int kind);
