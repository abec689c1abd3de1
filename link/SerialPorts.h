#pragma once
// Serial ports by the names the settings use: "COMn" stands for /dev/ttyS(n-1), and a name
// that begins with "/" is a device path. Also the list of ports present, which the modem
// settings offer as direct (null-modem) connections.
#include <string>
#include <string_view>
#include <vector>

struct SerialPortPaths {
    std::string devDir = "/dev";
    std::string sysClassTty = "/sys/class/tty";
};

// True for "COM" (any case) followed by one or more decimal digits.
bool isComName(std::string_view name);

// The device of a "COMn" name or a path; "" for any other name.
std::string serialDevicePath(std::string_view name, const SerialPortPaths& paths = {});

// The name the settings use for a device: "COMn" for a ttyS device, else the path itself.
std::string serialEntryName(const std::string& devicePath);

// The port that shares an interrupt with this one on old PCs (ttyS0 with ttyS2, ttyS1 with
// ttyS3), in the same folder; "" for any other device.
std::string sharedInterruptPartner(const std::string& devicePath);

// The serial ports present, by entry name: ttyS ports whose UART type is not 0 ("COMn"), then
// ttyUSB and ttyACM devices (paths), each group in numeric order.
std::vector<std::string> listSerialPorts(const SerialPortPaths& paths = {});
