#include "link/PortSettings.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace {

struct Speed {
    int baud;
    speed_t code;
};

constexpr Speed kSpeeds[] = {
    {300, B300},       {600, B600},         {1200, B1200},       {2400, B2400},
    {4800, B4800},     {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},   {115200, B115200},   {230400, B230400},   {460800, B460800},
    {921600, B921600}, {1000000, B1000000}, {2000000, B2000000}, {4000000, B4000000},
};

std::optional<speed_t> speedCode(int baud) {
    for (const Speed& s : kSpeeds)
        if (s.baud == baud) return s.code;
    return std::nullopt;
}

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

std::optional<int> number(std::string_view field) {
    int value = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<PortSettings> PortSettings::parse(std::string_view text) {
    const std::vector<std::string_view> f = splitFields(text);
    if (f.size() != 5) return std::nullopt;
    PortSettings s;
    const auto baud = number(f[0]), data = number(f[1]), stop = number(f[3]);
    if (!baud || !speedCode(*baud) || !data || *data < 5 || *data > 8 || !stop ||
        (*stop != 1 && *stop != 2) || f[2].size() != 1 ||
        std::string_view("NEO").find(f[2][0]) == std::string_view::npos ||
        (f[4] != "CTS" && f[4] != "NONE"))
        return std::nullopt;
    s.baud = *baud;
    s.dataBits = *data;
    s.parity = f[2][0];
    s.stopBits = *stop;
    s.ctsFlow = f[4] == "CTS";
    return s;
}

std::vector<int> PortSettings::supportedSpeeds() {
    std::vector<int> bauds;
    for (const Speed& s : kSpeeds)
        bauds.push_back(s.baud);
    return bauds;
}

std::string PortSettings::format() const {
    return std::to_string(baud) + "," + std::to_string(dataBits) + "," + parity + "," +
           std::to_string(stopBits) + "," + (ctsFlow ? "CTS" : "NONE");
}

termios PortSettings::toTermios() const {
    termios t{};
    cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CLOCAL | CREAD;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[std::clamp(dataBits, 5, 8) - 5];
    if (parity != 'N') t.c_cflag |= PARENB | (parity == 'O' ? PARODD : 0);
    if (stopBits == 2) t.c_cflag |= CSTOPB;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    const speed_t speed = speedCode(baud).value_or(B115200);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return t;
}
