// The serial link on a pty without a modem: opening and its failures, line settings, the
// port-conflict question, flow control, the hold ring, transfer mode and the line controls.
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "auto/ProfileLayout.h"
#include "platform/TextCodec.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/link/SerialTestSupport.h"
#include "xfer/GFErrors.h"

namespace {

// Everything the far end has been sent, read without waiting.
std::string drain(int fd) {
    std::string all;
    char buffer[65536];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) return all;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return all;
        all.append(buffer, static_cast<size_t>(n));
    }
}

class SerialPort : public SerialTest {
protected:
    bool open(SerialLink& link, const std::string& name, int mode = SerialLink::kModem) {
        return link.Open(name, mode, 8192, 8192);
    }
    std::string lastMessage() { return prompt.asked.empty() ? "" : prompt.asked.back().text; }

    struct OpenedElsewhere {
        bool opened = false;
        int error = -1;
        std::vector<std::string> shown;  // the texts put to the user
    };
    // Opens a port as a direct cable in a child process running as "nobody" (when this one is
    // root; as this user otherwise).
    OpenedElsewhere openAsAnotherUser(const std::string& name) {
        int channel[2];
        if (pipe(channel) != 0) return {};
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            if (geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
                _exit(1);
            SerialLink link(context());
            std::string report = open(link, name, SerialLink::kDirectCable) ? "1" : "0";
            report += std::to_string(link.LastError()) + '\0';
            for (const PromptRequest& asked : prompt.asked)
                report += asked.text + '\0';
            const bool written = write(channel[1], report.data(), report.size()) ==
                                 static_cast<ssize_t>(report.size());
            _exit(written ? 0 : 1);
        }
        close(channel[1]);
        std::string report;
        char buffer[4096];
        for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
            report.append(buffer, static_cast<size_t>(n));
        close(channel[0]);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        OpenedElsewhere result;
        if (report.empty()) return result;
        result.opened = report[0] == '1';
        size_t at = report.find('\0');
        result.error = std::atoi(report.substr(1, at - 1).c_str());
        for (size_t next; at + 1 < report.size(); at = next) {
            next = report.find('\0', at + 1);
            result.shown.push_back(report.substr(at + 1, next - at - 1));
        }
        return result;
    }

    static constexpr uid_t kNobody = 65534;
};

TEST_F(SerialPort, OpenFailuresExplainThemselves) {
    SerialLink link(context());
    EXPECT_FALSE(open(link, "/dev/quilite-missing"));
    EXPECT_EQ(link.LastError(), ENOENT);
    EXPECT_EQ(lastMessage(),
              "\"/dev/quilite-missing\"은(는) 올바른 통신포트에 연결되어 있지 않습니다.\n"
              "모뎀 등록 정보를 확인해 보십시오.");
    EXPECT_EQ(prompt.asked.back().icon, PromptIcon::Error);

    const std::string unknown = utf8ToCp949("없는 모뎀").value();
    EXPECT_FALSE(open(link, unknown));
    EXPECT_EQ(lastMessage(),
              "\"없는 모뎀\"은(는) 올바른 통신포트에 연결되어 있지 않습니다.\n"
              "모뎀 등록 정보를 확인해 보십시오.");

    const std::string socketPath = dir + "/socket";  // opening a socket file gives ENXIO
    const int socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_FALSE(open(link, socketPath));
    close(socketFd);
    EXPECT_EQ(link.LastError(), ENXIO);
    EXPECT_EQ(lastMessage(), "\"" + socketPath +
                                 "\"은(는) 올바른 통신포트에 연결되어 있지 않습니다.\n"
                                 "모뎀 등록 정보를 확인해 보십시오.");

    EXPECT_FALSE(open(link, "/dev/null"));
    EXPECT_EQ(lastMessage(), "\"/dev/null\"은(는) 올바른 통신포트 혹은 모뎀이 아닙니다.\n");

    EXPECT_FALSE(open(link, dir));  // a folder: EISDIR
    EXPECT_EQ(link.LastError(), EISDIR);
    EXPECT_EQ(lastMessage(), "\"" + dir + "\"을(를) 열수 없습니다.\n15");

    SerialLink holder(context());
    ASSERT_TRUE(open(holder, cable.slavePath));
    EXPECT_FALSE(open(link, cable.slavePath));
    EXPECT_EQ(link.LastError(), EBUSY);
    EXPECT_EQ(lastMessage(), "\"" + cable.slavePath +
                                 "\"은(는) 다른 통신 프로그램이나\n전화 접속 네트워킹에 의해 "
                                 "이미 사용중입니다.");
    EXPECT_EQ(prompt.asked.size(), 6u);
    holder.Close();
    EXPECT_TRUE(open(link, cable.slavePath)) << "free again once closed";
}

// A port this user may not open (EACCES) gets the generic text with the error number, and a
// partner port it may not open is not taken for held: no conflict question. Tests run as root,
// whom file modes do not stop, so the opening is done by a child that becomes "nobody".
TEST_F(SerialPort, PortWeMayNotOpenIsNeitherMissingNorHeld) {
    PtyCable other;
    chmod(dir.c_str(), 0755);
    std::filesystem::create_directory(dir + "/dev");
    std::filesystem::create_symlink(cable.slavePath, dir + "/dev/ttyS0");
    std::filesystem::create_symlink(other.slavePath, dir + "/dev/ttyS2");
    modems = ModemTable({}, SerialPortPaths{dir + "/dev", dir + "/sys"});
    SerialLink com1(context());
    ASSERT_TRUE(open(com1, "COM1", SerialLink::kDirectCable));
    ASSERT_EQ(chmod(cable.slavePath.c_str(), 0), 0);  // COM1 is held, and closed to others

    ASSERT_EQ(chmod(other.slavePath.c_str(), 0), 0);
    const OpenedElsewhere denied = openAsAnotherUser("COM3");
    EXPECT_FALSE(denied.opened);
    EXPECT_EQ(denied.error, EACCES);
    EXPECT_EQ(denied.shown, std::vector<std::string>{"\"COM3\"을(를) 열수 없습니다.\nd"})
        << "the error alone, no conflict question";

    ASSERT_EQ(chmod(other.slavePath.c_str(), 0666), 0);
    const OpenedElsewhere allowed = openAsAnotherUser("COM3");
    EXPECT_TRUE(allowed.opened);
    EXPECT_TRUE(allowed.shown.empty()) << allowed.shown.front();
}

TEST_F(SerialPort, PlainPortOpensAt115200RawWithHangUpOnClose) {
    SerialLink link(context());
    ASSERT_TRUE(open(link, cable.slavePath));
    const termios t = slaveSettings();
    EXPECT_EQ(cfgetospeed(&t), B115200);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS)) << "no CTS flow without carrier";
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_TRUE(t.c_cflag & HUPCL);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(t.c_iflag & (ICRNL | IXON));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_TRUE(cable.lines.dtr());
}

TEST_F(SerialPort, ModemSettingsAndDtrOffKeepTheLineOnClose) {
    modems = ModemTable({{"USR", cable.slavePath, PortSettings::parse("57600,7,E,2,NONE")}});
    comm.SetInt("ModemDtrOff", 1);
    SerialLink link(context());
    ASSERT_TRUE(open(link, "USR"));
    termios t = slaveSettings();
    EXPECT_EQ(cfgetospeed(&t), B57600);
    // A pty keeps 8 data bits and no parity whatever it is told; speed and stop bits stay.
    EXPECT_EQ(t.c_cflag & (CSTOPB | HUPCL), static_cast<tcflag_t>(CSTOPB));
    EXPECT_FALSE(cable.lines.dtr());
    cable.lines.setInput(kCarrierOn, true);
    link.SetTransferMode(1);
    EXPECT_FALSE(slaveSettings().c_cflag & CRTSCTS) << "CTS flow not configured";
    link.SetTransferMode(0);
    const size_t changes = cable.lines.changes().size();
    link.Close();
    EXPECT_EQ(cable.lines.changes().size(), changes) << "closing leaves DTR alone";
}

// Old PCs shared an interrupt between COM1 and COM3, COM2 and COM4.
TEST_F(SerialPort, PortConflictIsAskedOnlyWhenThePartnerIsHeld) {
    PtyCable other;
    std::filesystem::create_directory(dir + "/dev");
    std::filesystem::create_symlink(cable.slavePath, dir + "/dev/ttyS0");
    std::filesystem::create_symlink(other.slavePath, dir + "/dev/ttyS2");
    modems = ModemTable({}, SerialPortPaths{dir + "/dev", dir + "/sys"});

    SerialLink com3(context());
    ASSERT_TRUE(open(com3, "COM3", SerialLink::kDirectCable));
    EXPECT_TRUE(prompt.asked.empty()) << "COM1 is free";
    com3.Close();

    SerialLink com1(context());
    ASSERT_TRUE(open(com1, "COM1", SerialLink::kDirectCable));
    prompt.expect(PromptAnswer::No, true);
    EXPECT_FALSE(open(com3, "COM3", SerialLink::kDirectCable));
    ASSERT_EQ(prompt.asked.size(), 1u) << "declining shows no error";
    const PromptRequest& question = prompt.asked[0];
    EXPECT_EQ(question.text.find("COM1이(가) 이미 사용중입니다."), 0u);
    EXPECT_NE(question.text.find("통신포트 COM3을(를) 여시겠습니까?"), std::string::npos);
    EXPECT_EQ(question.buttons, PromptButtons::YesNo);
    EXPECT_EQ(question.checkText, "항상 확인(&A)");
    EXPECT_TRUE(question.checked);
    EXPECT_EQ(comm.GetInt("CheckPortConflict", 1), 1);

    prompt.expect(PromptAnswer::Yes, false);  // "always ask" cleared
    EXPECT_TRUE(open(com3, "COM3", SerialLink::kDirectCable));
    EXPECT_EQ(comm.GetInt("CheckPortConflict", 1), 0);
    com3.Close();
    EXPECT_TRUE(open(com3, "COM3", SerialLink::kDirectCable));
    EXPECT_EQ(prompt.asked.size(), 2u) << "not asked again";
}

TEST_F(SerialPort, CtsHoldsOutputOnlyWhileCarrierIsPresent) {
    SerialLink link(context());
    ASSERT_TRUE(open(link, cable.slavePath));
    cable.lines.setInput(kCtsOn, false);
    EXPECT_EQ(link.WriteByte('a'), 0) << "an idle modem takes commands whatever CTS says";
    cable.lines.setInput(kCarrierOn, true);
    EXPECT_TRUE(runUntil([&] { return (slaveSettings().c_cflag & CRTSCTS) != 0; }))
        << "carrier switches CTS flow on";
    EXPECT_EQ(link.WriteByte('b'), GF_OUTPUT_FULL);
    EXPECT_EQ(link.LastError(), GF_OUTPUT_FULL);
    EXPECT_GE(link.OutputCount(), 1);
    EXPECT_EQ(link.IsDrained(), 0);
    EXPECT_EQ(link.WaitReady(2, 0), 0);
    cable.lines.setInput(kCtsOn, true);
    EXPECT_EQ(link.WaitReady(2, 1), 1);
    EXPECT_EQ(link.WriteByte('c'), 0);
    EXPECT_EQ(drain(cable.master()), "ac");
    cable.lines.setInput(kCarrierOn, false);
    EXPECT_TRUE(runUntil([&] { return (slaveSettings().c_cflag & CRTSCTS) == 0; }));
}

TEST_F(SerialPort, DirectCableIgnoresCtsAndIsNeverOnline) {
    SerialLink link(context());
    ASSERT_TRUE(open(link, cable.slavePath, SerialLink::kDirectCable));
    cable.lines.setInput(kCarrierOn, true);
    link.SetTransferMode(1);
    cable.lines.setInput(kCtsOn, false);
    EXPECT_FALSE(link.IsOnline());
    EXPECT_EQ(link.WriteByte('x'), 0);
    EXPECT_EQ(link.OutputCount(), 0);
    EXPECT_EQ(drain(cable.master()), "x");
}

TEST_F(SerialPort, WriteTakesWhatTheQueueHoldsAndReportsTheRest) {
    SerialLink link(context());
    ASSERT_TRUE(open(link, cable.slavePath));
    const std::string big(65536, 'w');
    EXPECT_EQ(link.Write(big.data(), static_cast<int>(big.size())), 8192);
    EXPECT_EQ(link.LastError(), GF_OUTPUT_FULL);
    EXPECT_EQ(drain(cable.master()), big.substr(0, 8192));
}

TEST_F(SerialPort, HoldRingWritesOutWhenFullAndEndHoldSendsTheRest) {
    SerialLink link(context());
    ASSERT_TRUE(open(link, cable.slavePath));
    std::string sent;
    for (int i = 0; i < 10000; ++i)
        sent += static_cast<char>(i * 31 + i / 256);
    link.BeginHold();
    EXPECT_EQ(link.Write(sent.data(), 3000), 3000);
    EXPECT_EQ(drain(cable.master()), "") << "held";
    for (int i = 3000; i < 10000; ++i)
        ASSERT_EQ(link.WriteByte(sent[i] & 0xFF), 0);
    std::string got = drain(cable.master());
    EXPECT_GE(got.size(), 4095u) << "a full hold ring is written out, not overwritten";
    EXPECT_EQ(link.OutputCount(), static_cast<int>(10000 - got.size()));
    link.EndHold();
    got += drain(cable.master());
    EXPECT_TRUE(got == sent);
    EXPECT_EQ(link.OutputCount(), 0);
}

// The far end reads nothing, so the pty fills: held bytes wait, and go out before later ones.
TEST_F(SerialPort, HeldBytesThatCannotGoOutStayAheadOfLaterOnes) {
    SerialLink link(context());
    ASSERT_TRUE(open(link, cable.slavePath));
    const int slave = cable.pair.theirs;
    fcntl(slave, F_SETFL, fcntl(slave, F_GETFL) | O_NONBLOCK);
    std::string filler;
    for (;;) {
        const std::string chunk(1024, 'f');
        const ssize_t n = write(slave, chunk.data(), chunk.size());
        if (n <= 0) break;
        filler.append(chunk, 0, static_cast<size_t>(n));
    }
    link.BeginHold();
    link.WriteString("held");
    link.EndHold();
    EXPECT_EQ(link.LastError(), GF_OUTPUT_FULL);
    EXPECT_EQ(link.OutputCount(), 4);
    EXPECT_EQ(link.IsDrained(), 0);
    std::string got = drain(cable.master());
    EXPECT_EQ(link.WriteString("later"), 5);
    got += drain(cable.master());
    EXPECT_EQ(got, filler + "heldlater");
}

TEST_F(SerialPort, TransferModeSilencesTheWatchAndAnswersTheEscapeSetting) {
    SerialLink link(context());
    ASSERT_TRUE(open(link, cable.slavePath));
    pump(link);
    EXPECT_EQ(link.SetTransferMode(1), 0);
    ASSERT_EQ(write(cable.master(), "zmodem", 6), 6);
    loop.runFor(100);
    EXPECT_EQ(idleRuns, 0) << "the transfer thread owns the bytes";
    EXPECT_EQ(link.InputCount(), 6);
    EXPECT_EQ(link.WaitReady(1, 1), 1);
    char buffer[16] = {};
    EXPECT_EQ(link.Read(buffer, sizeof buffer), 6);
    EXPECT_STREQ(buffer, "zmodem");
    EXPECT_EQ(link.WaitReady(1, 0), 0);
    EXPECT_EQ(link.SetTransferMode(0), 0);

    ASSERT_EQ(write(cable.master(), "terminal", 8), 8);
    EXPECT_TRUE(waitFor("terminal"));
    EXPECT_GE(idleRuns, 1);

    comm.SetInt("ZmodemEscape", 1);
    EXPECT_EQ(link.SetTransferMode(1), 1);
    EXPECT_EQ(link.SetTransferMode(0), 0);
}

TEST_F(SerialPort, PurgeAndFlushDropReceivedBytes) {
    SerialLink link(context());
    ASSERT_TRUE(open(link, cable.slavePath));
    ASSERT_EQ(write(cable.master(), "stale", 5), 5);
    EXPECT_TRUE(runUntil([&] { return link.InputCount() == 5; }));
    link.PurgeInput();
    EXPECT_EQ(link.InputCount(), 0);
    ASSERT_EQ(write(cable.master(), "more", 4), 4);
    EXPECT_TRUE(runUntil([&] { return link.InputCount() == 4; }));
    EXPECT_EQ(link.Flush(GF_FLUSH_INPUT, 0), 0);
    EXPECT_EQ(link.InputCount(), 0);
    ASSERT_EQ(write(cable.master(), "abc", 3), 3);
    EXPECT_TRUE(runUntil([&] { return link.InputCount() == 3; }));
    link.WaitReady(1, 0);
    EXPECT_EQ(link.Flush(GF_FLUSH_INPUT, 2), 0) << "read and dropped; nothing more came";
    EXPECT_EQ(link.InputCount(), 0);
    EXPECT_EQ(link.Flush(GF_FLUSH_OUTPUT, 0), 0);
}

TEST_F(SerialPort, LineControlsAndBreak) {
    FakeClock clock;
    PtyCable timed(clock);
    SerialLink link(SerialContext{loop, prompt, comm, modems, clock, timed.lines});
    ASSERT_TRUE(open(link, timed.slavePath, SerialLink::kDirectCable));
    EXPECT_EQ(link.Control(GF_CONTROL_DTR, 0), 0);
    EXPECT_FALSE(timed.lines.dtr());
    EXPECT_EQ(link.Control(GF_CONTROL_DTR, -1), 0);
    EXPECT_EQ(link.Control(GF_CONTROL_DTR, 1), 1);
    EXPECT_TRUE(timed.lines.dtr());
    EXPECT_EQ(link.Control(GF_CONTROL_RTS, 0), 0);
    EXPECT_EQ(timed.lines.changes().back().what, "RTS off");
    EXPECT_EQ(link.Control(GF_CONTROL_RTS, 2), 2);
    EXPECT_EQ(timed.lines.changes().back().what, "RTS off") << "left to the driver";
    timed.lines.setInput(kRingOn, true);
    EXPECT_EQ(link.Control(GF_CONTROL_CTS, -1), 1);
    EXPECT_EQ(link.Control(GF_CONTROL_DSR, -1), 1);
    EXPECT_EQ(link.Control(GF_CONTROL_RING, -1), 1);
    EXPECT_EQ(link.Control(GF_CONTROL_CARRIER, -1), 0);
    EXPECT_EQ(link.UpdateStatus(), kCtsOn | kDsrOn | kRingOn);
    EXPECT_EQ(link.Control(99, 1), 2);

    // A direct cable hangs up with a one-second break, but not when the program closes.
    const size_t before = timed.lines.changes().size();
    EXPECT_EQ(link.HangUp(0), 1);
    auto changes = timed.lines.changes();
    ASSERT_EQ(changes.size(), before + 2);
    EXPECT_EQ(changes[before].what, "break on");
    EXPECT_EQ(changes[before + 1].what, "break off");
    EXPECT_GE(changes[before + 1].atMs - changes[before].atMs, 1000);
    EXPECT_EQ(link.HangUp(1), 1);
    EXPECT_EQ(timed.lines.changes().size(), before + 2);

    EXPECT_EQ(link.Control(GF_CONTROL_BREAK, 1), 1);
    EXPECT_TRUE(timed.lines.breakOn());
    EXPECT_EQ(link.Break(-1), 1);
    EXPECT_EQ(link.SendBreak(), 0);
    EXPECT_EQ(timed.lines.changes().size(), before + 3) << "no second break over the first";
    EXPECT_EQ(link.Break(0), 0);
    timed.lines.refuseBreak();
    EXPECT_EQ(link.Break(1), -827);
    EXPECT_EQ(link.LastError(), -827);
}

// Whatever watched the port is gone before its descriptor number can be used again.
TEST_F(SerialPort, CloseStopsTheWatchesFirst) {
    SerialLink link(context());
    ASSERT_TRUE(open(link, cable.slavePath));
    pump(link);
    ASSERT_EQ(write(cable.master(), "x", 1), 1);
    EXPECT_TRUE(waitFor("x"));
    const int runs = idleRuns;
    EXPECT_EQ(link.Close(), 0);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "y", 1), 1);
    loop.runFor(300);
    EXPECT_EQ(idleRuns, runs);
    EXPECT_EQ(link.ReadByte(), GF_READ_TIMEOUT);
    EXPECT_EQ(link.WriteByte('z'), GF_OUTPUT_FULL);
    EXPECT_FALSE(link.IsOnline());
    close(fds[0]);
    close(fds[1]);
}

}  // namespace
