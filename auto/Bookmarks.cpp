#include "auto/Bookmarks.h"

#include <charconv>
#include <ctime>

namespace {

const std::string kTitle = "Title";

// The stored list of the service, created when `create` is set; nothing without the service.
std::optional<RegKey> bookmarkList(CRecordStore& store, const std::string& service, bool create) {
    if (service.empty() || !store.SelectKind(RecordKind::Bookmark)) return std::nullopt;
    std::optional<RegKey> record = store.FindRecord(service);
    if (!record) return std::nullopt;
    Registry& registry = store.registry();
    return create ? registry.createKey(*record, "Bookmark") : registry.openKey(*record, "Bookmark");
}

}  // namespace

std::vector<Record> LoadBookmarks(Registry& registry, const std::string& service) {
    std::vector<Record> records;
    CRecordStore(registry).LoadList(service, RecordKind::Bookmark, records);
    return records;
}

bool StoreVisitTime(Registry& registry, const std::string& service, const std::string& title,
                    int64_t seconds) {
    CRecordStore store(registry);
    return registry.transaction([&] {
        std::optional<RegKey> list = bookmarkList(store, service, false);
        if (!list) return false;
        for (const RegChild& child : registry.subkeys(*list)) {
            Record record;
            if (store.ReadRecord(child.key, record) && BookmarkField(record, kTitle) == title)
                return registry.setValue(child.key, "VTime", std::to_string(seconds));
        }
        return false;
    });
}

AppendResult AppendBookmark(Registry& registry, const std::string& service,
                            const Record& bookmark) {
    CRecordStore store(registry);
    bool taken = false;
    const bool added = registry.transaction([&] {
        std::optional<RegKey> list = bookmarkList(store, service, true);
        if (!list) return false;
        for (const Record& stored : store.ReadList(*list))
            taken = taken || BookmarkField(stored, kTitle) == BookmarkField(bookmark, kTitle);
        if (taken) return false;
        std::optional<RegKey> record = store.AddRecord(*list);
        return record && store.WriteRecord(*record, bookmark);
    });
    if (taken) return AppendResult::TitleTaken;
    if (!added) return AppendResult::Failed;
    store.NotifyChanged(RecordKind::Bookmark);
    return AppendResult::Added;
}

std::string BookmarkField(const Record& bookmark, const std::string& name) {
    auto found = bookmark.find(name);
    return found == bookmark.end() ? std::string() : found->second;
}

bool BookmarkReadOnly(const Record& bookmark) {
    return BookmarkField(bookmark, "ReadOnly") == "1";
}

bool SendableLocation(std::string_view location) {
    if (location.empty()) return false;
    for (char c : location)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

int64_t VisitTime(const Record& bookmark) {
    const std::string text = BookmarkField(bookmark, "VTime");
    int64_t seconds = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds <= 0) return -1;
    return seconds;
}

std::string VisitTimeText(const Record& bookmark) {
    const int64_t seconds = VisitTime(bookmark);
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    char text[32];
    if (seconds < 0 || !localtime_r(&time, &local) ||
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) == 0)
        return "(없음)";
    return text;
}

int64_t NowSeconds() {
    return static_cast<int64_t>(std::time(nullptr));
}
