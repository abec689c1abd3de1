#pragma once
// Imports registry files: REGEDIT4 text in CP949 and "Windows Registry Editor Version 5.00"
// text in UTF-16LE. String values (with the \" and \\ escapes), the unnamed value "@",
// hex(1)/hex(2) strings, dword values (stored as unsigned decimal text), key and value
// deletions. Other value types, other hives and text that CP949 cannot hold are skipped and
// counted; they never change what is stored. The whole file goes in as one transaction.
#include <string>
#include <string_view>
#include <vector>

#include "auto/Registry.h"

enum class RegImportStatus {
    Imported,
    Unreadable,       // the file cannot be read
    NotRegistryFile,  // no registry file header, or not valid UTF-16LE
    StoreFailed,      // a write failed; nothing of the file was kept
};

struct RegImportResult {
    RegImportStatus status = RegImportStatus::Unreadable;
    bool ok() const { return status == RegImportStatus::Imported; }
    std::string error;
    int keys = 0;                             // key sections applied
    int values = 0;                           // values written
    int deleted = 0;                          // keys and values deleted
    int skipped = 0;                          // entries left out
    std::vector<std::string> skippedReasons;  // "line N: why", the first few
};

RegImportResult importRegText(Registry& registry, std::string_view bytes);
RegImportResult importRegFile(Registry& registry, const std::string& path);
