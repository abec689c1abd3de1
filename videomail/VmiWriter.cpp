#include "videomail/VmiWriter.h"

#include <chrono>
#include <ctime>

#include "videomail/VmiFormat.h"

namespace {

// The start of recording as eight 16-bit fields: year, month, day of week, day, hour, minute,
// second, milliseconds (UTC).
void putStartTime(char* out) {
    using namespace std::chrono;
    auto now = system_clock::now();
    time_t seconds = system_clock::to_time_t(now);
    tm utc{};
    gmtime_r(&seconds, &utc);
    int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    const int fields[8] = {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_wday, utc.tm_mday,
                           utc.tm_hour,        utc.tm_min,     utc.tm_sec,  ms};
    for (int i = 0; i < 8; ++i) {
        out[2 * i] = static_cast<char>(fields[i]);
        out[2 * i + 1] = static_cast<char>(fields[i] >> 8);
    }
}

}  // namespace

VmiWriter::~VmiWriter() {
    Close();
}

bool VmiWriter::Create(const std::string& path) {
    std::lock_guard lock(mutex_);
    file_ = fopen(path.c_str(), "wb");
    if (!file_) return false;
    char header[vmi::kHeaderSize] = {};
    putStartTime(header);
    for (int i = 0; i < 3; ++i)
        vmi::putLe32(header + vmi::kMarkOffset + 4 * i, vmi::kMark[i]);
    failed_ = fwrite(header, 1, sizeof header, file_) != sizeof header;
    sequence_ = 0;
    offset_ = 0;
    return !failed_;
}

bool VmiWriter::AppendRecord(uint32_t type, std::string_view data) {
    std::lock_guard lock(mutex_);
    if (!file_ || failed_) return false;
    if (sequence_ == 0) offset_ = 0;
    char header[vmi::kRecordHeaderSize];
    vmi::putLe32(header, type);
    vmi::putLe32(header + 4, sequence_++);
    vmi::putLe32(header + 8, static_cast<uint32_t>(clock_.nowMs()));
    vmi::putLe32(header + 12, static_cast<uint32_t>(data.size()));
    vmi::putLe32(header + 16, offset_);
    failed_ = fwrite(header, 1, sizeof header, file_) != sizeof header ||
              (!data.empty() && fwrite(data.data(), 1, data.size(), file_) != data.size());
    offset_ = static_cast<uint32_t>(ftell(file_));
    return !failed_;
}

bool VmiWriter::Close() {
    std::lock_guard lock(mutex_);
    if (!file_) return !failed_;
    bool ok = fclose(file_) == 0 && !failed_;
    file_ = nullptr;
    failed_ = !ok;
    return ok;
}
