#include "videomail/VmiReader.h"

#include <sys/stat.h>

VmiReader::~VmiReader() {
    if (file_) fclose(file_);
}

bool VmiReader::Open(const std::string& path, uint64_t baseOffset) {
    if (file_) fclose(file_);
    file_ = fopen(path.c_str(), "rb");
    ended_ = false;
    if (!file_) return false;
    char header[vmi::kHeaderSize];
    return fseeko(file_, static_cast<off_t>(baseOffset), SEEK_SET) == 0 &&
           fread(header, 1, sizeof header, file_) == sizeof header;
}

std::optional<vmi::Record> VmiReader::ReadRecord() {
    if (!file_ || ended_) return std::nullopt;
    char header[vmi::kRecordHeaderSize];
    ended_ = true;
    if (fread(header, 1, sizeof header, file_) != sizeof header) return std::nullopt;
    vmi::Record record;
    record.type = vmi::getLe32(header);
    record.sequence = vmi::getLe32(header + 4);
    record.timeMs = vmi::getLe32(header + 8);
    uint32_t length = vmi::getLe32(header + 12);
    record.offset = vmi::getLe32(header + 16);
    if (record.type == vmi::kEnd || length > vmi::kMaxRecordLength) return std::nullopt;
    record.data.resize(length);
    if (fread(record.data.data(), 1, length, file_) != length) return std::nullopt;
    ended_ = false;
    return record;
}

namespace {

bool hasMarkAt(FILE* file, uint64_t offset) {
    char mark[12];
    if (fseeko(file, static_cast<off_t>(offset + vmi::kMarkOffset), SEEK_SET) != 0 ||
        fread(mark, 1, sizeof mark, file) != sizeof mark)
        return false;
    for (int i = 0; i < 3; ++i)
        if (vmi::getLe32(mark + 4 * i) != vmi::kMark[i]) return false;
    return true;
}

}  // namespace

uint64_t findMessageStart(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 ||
        static_cast<uint64_t>(info.st_size) <= vmi::kPackageOffset)
        return 0;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return 0;
    bool package = !hasMarkAt(file, 0) && hasMarkAt(file, vmi::kPackageOffset);
    fclose(file);
    return package ? vmi::kPackageOffset : 0;
}
