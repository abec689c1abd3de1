#pragma once
// The line settings of a serial port, kept with a modem in the profile store as text such as
// "115200,8,N,1,CTS" (speed, data bits, parity N/E/O, stop bits, flow control CTS or NONE).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <termios.h>

struct PortSettings {
    int baud = 115200;
    int dataBits = 8;
    char parity = 'N';
    int stopBits = 1;
    bool ctsFlow = true;  // output flow control by CTS (applied only while carrier is present)

    // Nothing when the text is not of the form above or names a speed the system lacks.
    static std::optional<PortSettings> parse(std::string_view text);
    std::string format() const;
    // The speeds a port can be set to, slowest first.
    static std::vector<int> supportedSpeeds();

    // Raw mode, receiver on, modem lines ignored for opening (CLOCAL), these line settings;
    // CTS flow control and hang-up on close are left off, for the port to decide.
    termios toTermios() const;
};
