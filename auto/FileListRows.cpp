#include "auto/FileListRows.h"

#include <cstdio>
#include <ctime>

#include "auto/FileRecords.h"
#include "platform/TextCodec.h"

std::vector<std::string> fileListHeaders(int kind) {
    if (kind == RecordKind::ReceivedFile) return {"   파일명", "크기", "받은 날짜", "수신", "기타"};
    if (kind == RecordKind::SentFile) return {"   파일명", "크기", "보낸 날짜", "송신", "기타"};
    return {"   파일명", "크기", "작성 날짜", "기타"};
}

std::vector<std::string> sendBoxHeaders() {
    return {"   파일명", "크기", "변경한 날짜"};
}

std::string groupedNumber(int64_t value) {
    const std::string digits = std::to_string(value);
    const size_t sign = value < 0 ? 1 : 0;
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > sign && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string sendBoxSize(int64_t bytes) {
    const int64_t kilobytes = bytes / 1024 + (bytes % 1024 != 0);
    if (kilobytes < 1024) return groupedNumber(kilobytes) + "KB";
    // Hundredths of a megabyte, rounded as "%.2f" would round them.
    const int64_t hundredths = (kilobytes * 100 + 512) / 1024;
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%02d", static_cast<int>(hundredths % 100));
    return groupedNumber(hundredths / 100) + fraction + "MB";
}

std::string shortTime(int64_t seconds) {
    const time_t when = static_cast<time_t>(seconds);
    struct tm local;
    if (!localtime_r(&when, &local)) return "";
    char text[32];
    std::strftime(text, sizeof text, "%m-%d %H:%M", &local);
    return text;
}

std::string transferShare(int64_t transferred, int64_t size) {
    if (size <= 0) return "?";
    const __int128 share = static_cast<__int128>(transferred) * 100 / size;
    return std::to_string(static_cast<int64_t>(share)) + "%";
}

std::vector<std::string> fileListRow(const Record& stored, int kind) {
    const FileRecord record = fileRecordFrom(stored, kind);
    auto found = stored.find("FilePath");
    // A path from another system (not absolute) is shown as it is stored.
    const std::string path = !record.path.empty()    ? record.path
                             : found == stored.end() ? ""
                                                     : cp949ToUtf8Lossy(found->second);
    const std::string description = cp949ToUtf8Lossy(record.description);
    if (kind == RecordKind::CaptureFile)
        return {path, groupedNumber(record.size), shortTime(record.fileTime), description};
    const int64_t shownSize = record.size == 0 ? record.transferred : record.size;
    return {path, groupedNumber(shownSize), shortTime(record.transferTime),
            transferShare(record.transferred, record.size), description};
}

std::vector<std::string> sendBoxRow(const std::string& path, int64_t size, int64_t mtime) {
    return {path, sendBoxSize(size), shortTime(mtime)};
}
