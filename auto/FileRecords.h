#pragma once
// The file manager's lists: files received (kind 8), sent (kind 9) and captured (kind 10), each
// record a file's path, size, time and the session it came from; and the send box, the short
// list of files waiting to be sent.
#include <cstdint>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/RecentList.h"

// A file record as plain data. Sizes are 64-bit; times are seconds since 1970 (UTC).
struct FileRecord {
    std::string path;          // UTF-8 file-system path (stored as CP949 `FilePath`)
    int64_t size = 0;          // `FileSize`
    int64_t fileTime = 0;      // `MTime`
    std::string description;   // `Description` (CP949), "service(title)"
    int64_t transferred = 0;   // `RSize` / `SSize`; unused for captures
    int64_t transferTime = 0;  // `RTime` / `STime`; unused for captures
};

enum class TransferDirection { Receive, Send };

enum class AddFileResult {
    Added,
    PathNotStorable,  // CP949 cannot hold the path: the file stays, unrecorded
    StoreFailed,
};

// The record of a finished transfer: `fileTime` is the file's last-write time when sending,
// the time the transfer carried when receiving; `now` ends the transfer.
FileRecord transferredFileRecord(const std::string& path, int64_t size, int64_t fileTime,
                                 int64_t transferred, int64_t now);
// Kind 8 for received files, 9 for sent ones.
int transferredFileKind(TransferDirection direction);

// Fills `Description` from the service and the session's title (both CP949) and appends the
// record at the end of the kind's list in one transaction.
AddFileResult AddFileRecord(CRecordStore& store, const FileRecord& record, int kind,
                            const std::string& service, const std::string& title);

// The kind's records in list order, as stored, and the same list written back whole. Rows
// are kept as stored so that writing back changes nothing but the removed rows.
std::vector<Record> readFileRecords(CRecordStore& store, int kind);
bool writeFileRecords(CRecordStore& store, int kind, const std::vector<Record>& records);
// A stored record read as data: the path through storedFilePath (empty when it names no
// absolute path), numbers through a 64-bit reader (anything unreadable or negative is 0).
FileRecord fileRecordFrom(const Record& stored, int kind);

// The send box's files (UTF-8 paths, stored as CP949), most recent first; files that no longer
// exist are dropped from the list and the store.
std::vector<std::string> loadSendBox(Registry& registry);
// Puts the files first in the send box, keeping at most its 15 entries. Paths CP949 cannot
// hold are left out and returned.
std::vector<std::string> addToSendBox(Registry& registry, const std::vector<std::string>& paths);
