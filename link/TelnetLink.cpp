#include "link/TelnetLink.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kDefaultPort = 23;
constexpr size_t kStageSize = 4096;

// Local text through the receive ring reads back as itself: an IAC in it is doubled.
std::string escapeIac(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (static_cast<uint8_t>(c) == telnet::kIac) out += c;
    }
    return out;
}

}  // namespace

bool TelnetLink::Connect(const std::string& host, int port) {
    if (!socket_.created()) {
        error_ = GF_CARRIER_LOST_WRITING;
        return false;
    }
    const std::string proxyHost = ctx_.comm.GetString("ProxyHost");
    if (proxyHost.empty() || ctx_.comm.GetInt("UseTelnetProxy", 0) == 0)
        return socket_.Connect(host, port, false);
    int proxyPort = ctx_.comm.GetInt("ProxyPort", -1);
    if (proxyPort < 1 || proxyPort > 65535) proxyPort = kDefaultPort;
    proxy_.start(ctx_.comm.GetString("ProxyUser"), ctx_.comm.GetString("ProxyPrompt"),
                 port == kDefaultPort ? host : host + " " + std::to_string(port));
    return socket_.Connect(proxyHost, proxyPort, true);
}

// --- sending ----------------------------------------------------------------------------------

int TelnetLink::SendBreak() {
    queueCommand(std::string{static_cast<char>(telnet::kIac), static_cast<char>(telnet::kAo)});
    return 0;
}

// A closed link takes every byte and sends nothing.
int TelnetLink::WriteByte(int c) {
    if (!socket_.connected()) return 0;
    const uint8_t byte = static_cast<uint8_t>(c);
    if (lineEditing()) {
        typeIntoLine(&byte, 1);
        return 0;
    }
    if (queueData(&byte, 1, !options_.local(telnet::kBinary)) == 1) return 0;
    error_ = GF_OUTPUT_FULL;
    return GF_OUTPUT_FULL;
}

int TelnetLink::WriteString(const char* text) {
    return Write(text, static_cast<int>(std::strlen(text)));
}

// The same coding as WriteByte, for a whole buffer.
int TelnetLink::Write(const void* data, int count) {
    if (!socket_.connected() || count <= 0) return 0;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (lineEditing()) {
        typeIntoLine(bytes, count);
        return count;
    }
    const int taken = queueData(bytes, count, !options_.local(telnet::kBinary));
    if (taken < count) error_ = GF_OUTPUT_FULL;
    return taken;
}

// Keys are edited here while the host does not echo, unless we send in binary or a transfer
// engine holds the link.
bool TelnetLink::lineEditing() const {
    return options_.lineMode() && !options_.local(telnet::kBinary) && !transferMode_;
}

void TelnetLink::typeIntoLine(const uint8_t* data, int count) {
    std::string echo, line;
    for (int i = 0; i < count; ++i)
        editor_.type(data[i], echo, line);
    if (!echo.empty()) socket_.show(escapeIac(echo));
    queueData(reinterpret_cast<const uint8_t*>(line.data()), static_cast<int>(line.size()), false);
}

// Stages the coded bytes in pieces that fit the send ring, so that a doubled IAC or a CR NUL
// is never split by a full ring.
int TelnetLink::queueData(const uint8_t* data, int count, bool crNul) {
    uint8_t staged[kStageSize];
    int taken = 0;
    while (taken < count) {
        const size_t room = std::min(socket_.room(), sizeof staged);
        size_t n = 0;
        while (taken < count && n + 2 <= room) {
            const uint8_t b = data[taken++];
            staged[n++] = b;
            if (b == telnet::kIac) staged[n++] = telnet::kIac;
            if (b == '\r' && crNul) staged[n++] = 0;
        }
        if (n == 0) break;
        socket_.queue(staged, n);
        socket_.push();
    }
    return taken;
}

void TelnetLink::queueCommand(std::string_view bytes) {
    if (socket_.room() < bytes.size()) return;
    socket_.queue(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    socket_.push();
}

// --- the link as a whole ----------------------------------------------------------------------

// While a transfer thread reads, what it has not read yet stays for it.
int TelnetLink::Close() {
    socket_.close();
    if (!transferMode_) next_ = end_ = 0;
    return 0;
}

int TelnetLink::HangUp(int /*final*/) {
    Close();
    return 1;
}

int TelnetLink::Flush(int direction, int /*count*/) {
    if (direction == 0) PurgeInput();
    if (direction == 1) PurgeOutput();
    return 0;
}

// Transfer mode changes neither the options nor the coding: an agreed BINARY stays as it is,
// and without it a CR still goes out as CR NUL. The proxy log-in is over by then. The settings
// store is only read when a transfer starts, on the user-interface thread.
int TelnetLink::SetTransferMode(int on) {
    proxy_.stop();
    transferMode_ = on != 0;
    socket_.setPaused(on != 0);
    return on && ctx_.comm.GetInt("ZmodemEscape", 0) > 0 ? 1 : 0;
}
