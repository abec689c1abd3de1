#include "tools/demohost/TelnetServerLink.h"

#include <algorithm>
#include <cstring>

namespace {

// The socket queue holds 256 KiB; a write is taken only when its doubled form fits.
constexpr int kQueueLimit = 262144;

}  // namespace

TelnetServerLink::TelnetServerLink(int socket, int waitMs) : raw_(socket, socket, waitMs) {
    const std::string greeting = TelnetServerCodec::Greeting();
    raw_.Write(greeting.data(), static_cast<int>(greeting.size()));
}

bool TelnetServerLink::pull() {
    if (inHead_ < in_.size()) return true;
    in_.clear();
    inHead_ = 0;
    char buffer[16384];
    int n;
    std::string replies;
    while ((n = raw_.Read(buffer, sizeof buffer)) > 0)
        codec_.Decode({buffer, size_t(n)}, in_, replies);
    if (!replies.empty()) {
        raw_.Write(replies.data(), static_cast<int>(replies.size()));
        raw_.SendPending();
    }
    return !in_.empty();
}

int TelnetServerLink::WaitReady(int event, int block) {
    if (event != 1) return raw_.WaitReady(event, block);
    if (pull()) return 1;
    return raw_.WaitReady(1, block) && pull() ? 1 : 0;
}

int TelnetServerLink::InputCount() {
    pull();
    return static_cast<int>(in_.size() - inHead_);
}

void TelnetServerLink::PurgeInput() {
    in_.clear();
    inHead_ = 0;
    raw_.PurgeInput();
}

std::string TelnetServerLink::TakeInput() {
    pull();
    std::string out = in_.substr(inHead_);
    in_.clear();
    inHead_ = 0;
    return out;
}

void TelnetServerLink::Send(std::string_view text) {
    if (!text.empty()) Write(text.data(), static_cast<int>(text.size()));
    raw_.SendPending();
}

int TelnetServerLink::WriteByte(int c) {
    const char b = static_cast<char>(c);
    return Write(&b, 1) == 1 ? 0 : GF_OUTPUT_FULL;
}

int TelnetServerLink::WriteString(const char* text) {
    const int n = static_cast<int>(std::strlen(text));
    return Write(text, n) == n ? 0 : GF_OUTPUT_FULL;
}

int TelnetServerLink::Write(const void* data, int count) {
    const int room = (kQueueLimit - raw_.OutputCount()) / 2;
    const int taken = std::clamp(count, 0, std::max(room, 0));
    if (taken == 0) return 0;
    const std::string encoded =
        TelnetServerCodec::Encode({static_cast<const char*>(data), size_t(taken)});
    raw_.Write(encoded.data(), static_cast<int>(encoded.size()));
    return taken;
}

int TelnetServerLink::ReadByte() {
    if (!pull()) return GF_READ_TIMEOUT;
    return static_cast<uint8_t>(in_[inHead_++]);
}

int TelnetServerLink::Read(void* data, int count) {
    if (!pull()) return 0;
    const int n = std::min<int>(count, static_cast<int>(in_.size() - inHead_));
    std::memcpy(data, in_.data() + inHead_, n);
    inHead_ += n;
    return n;
}
