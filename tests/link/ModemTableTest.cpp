// Names of serial ports, the ports present, line settings text, the stored modems and the
// choice of the device a session opens; and the rings the port keeps its bytes in.
#include <cstring>
#include <fstream>

#include "link/ByteRing.h"
#include "platform/TextCodec.h"
#include "tests/link/SerialTestSupport.h"

namespace {

TEST(SerialPortNames, ComNamesAndPaths) {
    EXPECT_EQ(serialDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(serialDevicePath("com12"), "/dev/ttyS11");
    EXPECT_EQ(serialDevicePath("COM2", {"/tmp/dev", ""}), "/tmp/dev/ttyS1");
    EXPECT_EQ(serialDevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
    for (const char* other : {"COM0", "COM", "COMx", "COM1 ", "USR Modem", "", "LPT1"})
        EXPECT_EQ(serialDevicePath(other), "") << other;
    EXPECT_EQ(serialEntryName("/dev/ttyS0"), "COM1");
    EXPECT_EQ(serialEntryName("/tmp/dev/ttyS9"), "COM10");
    EXPECT_EQ(serialEntryName("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(sharedInterruptPartner("/dev/ttyS0"), "/dev/ttyS2");
    EXPECT_EQ(sharedInterruptPartner("/dev/ttyS3"), "/dev/ttyS1");
    EXPECT_EQ(sharedInterruptPartner("/dev/ttyS4"), "");
    EXPECT_EQ(sharedInterruptPartner("/dev/ttyUSB0"), "");
}

TEST(SerialPortNames, PortsPresentFromSysfs) {
    char pattern[] = "/tmp/quilite-sys-XXXXXX";
    const std::string sys = mkdtemp(pattern);
    auto tty = [&](const std::string& name, const char* type) {
        std::filesystem::create_directories(sys + "/" + name);
        if (type) std::ofstream(sys + "/" + name + "/type") << type << "\n";
    };
    tty("ttyS0", "4");
    tty("ttyS1", "0");  // no UART behind it
    tty("ttyS10", "4");
    tty("ttyS2", "4");
    tty("ttyUSB1", nullptr);
    tty("ttyUSB0", nullptr);
    tty("ttyACM0", nullptr);
    tty("tty0", nullptr);
    tty("ptmx", nullptr);
    const std::vector<std::string> expected = {"COM1",         "COM3",         "COM11",
                                               "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"};
    EXPECT_EQ(listSerialPorts({"/dev", sys}), expected);
    EXPECT_TRUE(listSerialPorts({"/dev", sys + "/missing"}).empty());
    std::filesystem::remove_all(sys);
}

TEST(PortSettingsText, ParsesWhatItFormats) {
    const auto s = PortSettings::parse("57600,7,E,2,NONE");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->baud, 57600);
    EXPECT_EQ(s->dataBits, 7);
    EXPECT_EQ(s->parity, 'E');
    EXPECT_EQ(s->stopBits, 2);
    EXPECT_FALSE(s->ctsFlow);
    EXPECT_EQ(s->format(), "57600,7,E,2,NONE");
    EXPECT_EQ(PortSettings{}.format(), "115200,8,N,1,CTS");
    for (const char* bad :
         {"", "115200", "115201,8,N,1,CTS", "115200,9,N,1,CTS", "115200,8,X,1,CTS",
          "115200,8,N,3,CTS", "115200,8,N,1,XON", "115200,8,N,1,CTS,", "abc,8,N,1,CTS"})
        EXPECT_FALSE(PortSettings::parse(bad)) << bad;
    const termios t = PortSettings::parse("9600,7,O,1,CTS")->toTermios();
    EXPECT_EQ(cfgetospeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS),
              static_cast<tcflag_t>(CS7 | PARENB | PARODD));
}

class Modems : public SerialTest {};

TEST_F(Modems, StoredModemsComeBackInOrder) {
    const std::string korean = utf8ToCp949("내장 모뎀").value();
    ASSERT_TRUE(
        ModemTable::store(*registry, {{korean, "COM2", PortSettings::parse("57600,8,N,1,CTS")},
                                      {"USB Modem", "/dev/ttyACM0", std::nullopt}}));
    const ModemTable table = ModemTable::load(*registry);
    ASSERT_EQ(table.modems().size(), 2u);
    EXPECT_EQ(table.modems()[0].name, korean);
    EXPECT_EQ(table.devicePath(korean), "/dev/ttyS1");
    EXPECT_EQ(table.settingsFor(korean)->baud, 57600);
    EXPECT_EQ(table.devicePath("USB Modem"), "/dev/ttyACM0");
    EXPECT_FALSE(table.settingsFor("USB Modem"));
    EXPECT_EQ(table.devicePath("COM4"), "/dev/ttyS3");
    EXPECT_FALSE(table.settingsFor("COM4"));
    EXPECT_EQ(table.devicePath("Other Modem"), "");
    ASSERT_TRUE(ModemTable::store(*registry, {}));
    EXPECT_TRUE(ModemTable::load(*registry).modems().empty());
}

TEST_F(Modems, SessionDeviceChoice) {
    EXPECT_FALSE(ModemTable().chooseDevice(comm)) << "설정된 모뎀이 없습니다.";
    EXPECT_EQ(comm.GetString("ModemDevice"), "");

    const ModemTable table({{"First", "COM1", {}}, {"Second", "COM2", {}}, {"NoPort", "", {}}});
    auto chosen = table.chooseDevice(comm);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->name, "First");
    EXPECT_FALSE(chosen->directCable);
    EXPECT_EQ(comm.GetString("ModemDevice"), "First") << "the first modem is stored";

    comm.SetString("ModemDevice", "COM3");
    chosen = table.chooseDevice(comm);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(chosen->directCable);
    comm.SetString("ModemDevice", "/dev/ttyUSB0");
    EXPECT_TRUE(table.chooseDevice(comm)->directCable);
    comm.SetString("ModemDevice", "Second");
    EXPECT_FALSE(table.chooseDevice(comm)->directCable);
    comm.SetString("ModemDevice", "Gone Modem");
    EXPECT_FALSE(table.chooseDevice(comm));
    comm.SetString("ModemDevice", "NoPort");
    EXPECT_FALSE(table.chooseDevice(comm));
}

TEST(Ring, FullNeverReadsAsEmpty) {
    ByteRing ring(8);
    const uint8_t data[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(ring.put(data, 10), 7u);
    EXPECT_TRUE(ring.full());
    EXPECT_FALSE(ring.empty());
    EXPECT_EQ(ring.used(), 7u);
    EXPECT_EQ(ring.writeSpan().size(), 0u);
    uint8_t out[10] = {};
    EXPECT_EQ(ring.take(out, 3), 3u);
    EXPECT_EQ(ring.put(data + 7, 3), 3u);  // wraps
    EXPECT_EQ(ring.take(out + 3, 10), 7u);
    const uint8_t expected[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(std::memcmp(out, expected, 10), 0);
    EXPECT_TRUE(ring.empty());
    EXPECT_EQ(ring.writeSpan().size(), 7u) << "an emptied ring starts over";
}

TEST(Ring, SpansWrapAroundTheEnd) {
    ByteRing ring(8);
    const uint8_t data[6] = {1, 2, 3, 4, 5, 6};
    uint8_t out[8];
    ring.put(data, 6);
    ring.take(out, 5);  // tail at 5, head at 6
    EXPECT_EQ(ring.writeSpan().size(), 2u);
    ring.commit(2);  // head wraps to 0
    EXPECT_EQ(ring.writeSpan().size(), 4u) << "up to one short of the tail";
    EXPECT_EQ(ring.readSpan().size(), 3u);
    EXPECT_EQ(ring.used(), 3u);
    EXPECT_EQ(ring.capacity(), 8u);
    ByteRing none;
    EXPECT_EQ(none.room(), 0u);
    EXPECT_EQ(none.put(data, 6), 0u);
}

}  // namespace
