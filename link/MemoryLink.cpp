#include "link/MemoryLink.h"

#include <algorithm>
#include <cstring>

int MemoryLink::ReadByte() {
    if (readPos_ >= input_.size()) return GF_READ_TIMEOUT;
    return static_cast<uint8_t>(input_[readPos_++]);
}

int MemoryLink::Read(void* data, int count) {
    size_t n = std::min<size_t>(count > 0 ? count : 0, input_.size() - readPos_);
    std::memcpy(data, input_.data() + readPos_, n);
    readPos_ += n;
    return static_cast<int>(n);
}

int MemoryLink::WriteByte(int c) {
    output_.push_back(static_cast<char>(c & 0xFF));
    return 0;
}

int MemoryLink::Write(const void* data, int count) {
    if (count <= 0) return 0;
    output_.append(static_cast<const char*>(data), count);
    return count;
}

int MemoryLink::WriteString(const char* text) {
    return Write(text, static_cast<int>(std::strlen(text)));
}

int MemoryLink::WaitReady(int event, int /*block*/) {
    return event == 1 ? readPos_ < input_.size() : 1;
}

void MemoryLink::BeginHold() {
    if (holdDepth_++ == 0) holdStart_ = output_.size();
}

void MemoryLink::EndHold() {
    if (holdDepth_ == 0) return;
    if (--holdDepth_ == 0) groups_.emplace_back(holdStart_, output_.size());
}
