#include "auto/FileRecords.h"

#include <charconv>
#include <filesystem>
#include <optional>

#include "platform/StoredValues.h"
#include "platform/TextCodec.h"

namespace {

// The transfer fields of kinds 8 and 9; a capture has none.
struct TransferFields {
    const char* size;
    const char* time;
};

std::optional<TransferFields> transferFields(int kind) {
    if (kind == RecordKind::ReceivedFile) return TransferFields{"RSize", "RTime"};
    if (kind == RecordKind::SentFile) return TransferFields{"SSize", "STime"};
    return std::nullopt;
}

int64_t parseCount(const std::string& text) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && value > 0 ? value : 0;
}

}  // namespace

FileRecord transferredFileRecord(const std::string& path, int64_t size, int64_t fileTime,
                                 int64_t transferred, int64_t now) {
    return {path, size, fileTime, "", transferred, now};
}

int transferredFileKind(TransferDirection direction) {
    return direction == TransferDirection::Send ? RecordKind::SentFile : RecordKind::ReceivedFile;
}

AddFileResult AddFileRecord(CRecordStore& store, const FileRecord& record, int kind,
                            const std::string& service, const std::string& title) {
    std::optional<std::string> storedPath = utf8ToCp949(record.path);
    if (!storedPath) return AddFileResult::PathNotStorable;
    Record fields = {{"FilePath", *storedPath},
                     {"FileSize", std::to_string(record.size)},
                     {"MTime", std::to_string(record.fileTime)},
                     {"Description", service + "(" + title + ")"}};
    if (std::optional<TransferFields> transfer = transferFields(kind)) {
        fields[transfer->size] = std::to_string(record.transferred);
        fields[transfer->time] = std::to_string(record.transferTime);
    }
    if (!store.SelectKind(kind)) return AddFileResult::StoreFailed;
    const RegKey list = store.Section();
    std::optional<RegKey> added;
    // AddRecord and WriteRecord join this one transaction: no empty record is left behind.
    Registry& registry = store.registry();
    const bool stored = registry.transaction([&] {
        added = store.AddRecord(list);
        return added && store.WriteRecord(*added, fields);
    });
    if (!stored) return AddFileResult::StoreFailed;
    store.NotifyChanged(kind);
    return AddFileResult::Added;
}

std::vector<Record> readFileRecords(CRecordStore& store, int kind) {
    if (!store.SelectKind(kind)) return {};
    return store.ReadList(store.Section());
}

bool writeFileRecords(CRecordStore& store, int kind, const std::vector<Record>& records) {
    return store.SelectKind(kind) && store.ReplaceList(store.Section(), records);
}

FileRecord fileRecordFrom(const Record& stored, int kind) {
    auto field = [&](const char* name) {
        auto found = stored.find(name);
        return found == stored.end() ? std::string() : found->second;
    };
    FileRecord record;
    record.path = storedFilePath(field("FilePath"));
    record.size = parseCount(field("FileSize"));
    record.fileTime = parseCount(field("MTime"));
    record.description = field("Description");
    if (std::optional<TransferFields> transfer = transferFields(kind)) {
        record.transferred = parseCount(field(transfer->size));
        record.transferTime = parseCount(field(transfer->time));
    }
    return record;
}

std::vector<std::string> loadSendBox(Registry& registry) {
    RecentList box = sendBoxFiles(registry);
    std::vector<std::string> stored = box.load();
    std::vector<std::string> kept;
    std::vector<std::string> paths;
    for (const std::string& entry : stored) {
        const std::string path = storedFilePath(entry);
        std::error_code error;
        if (path.empty() || !std::filesystem::exists(path, error)) continue;
        kept.push_back(entry);
        paths.push_back(path);
    }
    if (kept.size() != stored.size()) box.save(kept);
    return paths;
}

std::vector<std::string> addToSendBox(Registry& registry, const std::vector<std::string>& paths) {
    RecentList box = sendBoxFiles(registry);
    std::vector<std::string> unstorable;
    registry.transaction([&] {
        // Added last to first, so that the files stand in the order given.
        for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
            std::optional<std::string> stored = utf8ToCp949(*path);
            if (!stored)
                unstorable.insert(unstorable.begin(), *path);
            else if (!box.add(*stored))
                return false;
        }
        return true;
    });
    return unstorable;
}
