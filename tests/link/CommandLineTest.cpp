// The command-line forms and the telnet address forms.
#include <gtest/gtest.h>

#include "link/CommandLine.h"

namespace {

using Kind = ConnectRequest::Kind;

TEST(CommandLineTest, HostsPortsAndEntries) {
    EXPECT_EQ(ParseCommandLine({}).kind, Kind::None);

    ConnectRequest one = ParseCommandLine({"telnet://bbs.example.org/"});
    EXPECT_EQ(one.kind, Kind::Host);
    EXPECT_EQ(one.host, "bbs.example.org/");  // the slash goes when connecting
    EXPECT_EQ(one.port, 23);

    ConnectRequest two = ParseCommandLine({"10.1.2.3", "2323"});
    EXPECT_EQ(two.kind, Kind::Host);
    EXPECT_EQ(two.host, "10.1.2.3");
    EXPECT_EQ(two.port, 2323);

    ConnectRequest telnet = ParseCommandLine({"/t", "예제", "텔넷", "BBS"});
    EXPECT_EQ(telnet.kind, Kind::TelnetEntry);
    EXPECT_EQ(telnet.entry, "예제 텔넷 BBS");

    ConnectRequest modem = ParseCommandLine({"/m", "하이텔 접속"});
    EXPECT_EQ(modem.kind, Kind::ModemEntry);
    EXPECT_EQ(modem.entry, "하이텔 접속");
}

TEST(CommandLineTest, IncompleteOrMalformedLinesAreRefused) {
    EXPECT_EQ(ParseCommandLine({"/t"}).error, "/t 다음에 텔넷 연결 이름을 입력하십시오.");
    EXPECT_EQ(ParseCommandLine({"/m"}).error, "/m 다음에 모뎀 연결 이름을 입력하십시오.");
    for (const char* port : {"telnet", "23x", "0", "65536", "-1", ""}) {
        ConnectRequest request = ParseCommandLine({"host", port});
        EXPECT_EQ(request.kind, Kind::Invalid) << port;
        EXPECT_EQ(request.error, std::string("포트 번호가 올바르지 않습니다: ") + port);
    }
    EXPECT_EQ(ParseCommandLine({"a", "b", "c"}).kind, Kind::Invalid);
    EXPECT_EQ(ParseCommandLine({"telnet://"}).kind, Kind::Invalid);
}

TEST(CommandLineTest, TelnetAddressesLoseTheSlashAndCarryTheirPort) {
    TelnetAddress plain = SplitTelnetAddress("bbs.example/", 23);
    EXPECT_EQ(plain.host, "bbs.example");
    EXPECT_EQ(plain.port, 23);
    EXPECT_TRUE(plain.valid);

    TelnetAddress withPort = SplitTelnetAddress("bbs.example:2323/", 23);
    EXPECT_EQ(withPort.host, "bbs.example");
    EXPECT_EQ(withPort.port, 2323);

    EXPECT_EQ(SplitTelnetAddress("bbs.example", 4000).port, 4000);
    TelnetAddress bad = SplitTelnetAddress("bbs.example:abc", 23);
    EXPECT_FALSE(bad.valid);
    EXPECT_EQ(bad.portText, "abc");
    // More than one colon is not a port.
    EXPECT_EQ(SplitTelnetAddress("::1", 23).host, "::1");
}

}  // namespace
