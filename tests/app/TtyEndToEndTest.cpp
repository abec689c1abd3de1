// quilite --tty driven in a tmux terminal against a host on a loopback port: what the user sees
// (Korean at the right columns, boxes, the status line), the bytes that keys, the keypad and a
// paste send, questions on the status line, and the terminal given back after quitting, after
// a signal, and a screen too small until it is resized.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

#include "auto/CRecordStore.h"
#include "auto/CSettingsSection.h"
#include "auto/FirstRunSetup.h"
#include "auto/MacroTable.h"
#include "auto/ProfileLayout.h"
#include "auto/ProfileStore.h"
#include "auto/Services.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "tests/app/BoxTables.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/PeerProcess.h"
#include "tests/fixtures/ScriptedBbsHost.h"
#include "tests/fixtures/TelnetHostData.h"
#include "tests/fixtures/TmuxSession.h"

namespace {

std::string cp(const std::string& utf8) {
    return utf8ToCp949(utf8).value();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class TtyEndToEnd : public ::testing::Test {
protected:
    TtyEndToEnd() {
        char pattern[] = "/tmp/quilite-tty-XXXXXX";
        dir = mkdtemp(pattern);
        mkdir((dir + "/run").c_str(), 0700);
        ScriptedPrompt prompt;
        std::string error;
        registry = openProfileStore(dir + "/config/quilite/profile.db", prompt, error);
        runFirstRunSetup(*registry, prompt, QUILITE_SOURCE_DIR "/data");
    }
    ~TtyEndToEnd() override {
        tmux.reset();
        if (host >= 0) close(host);
        std::filesystem::remove_all(dir);
    }

    // Starts the program in an 80x25 (or other) terminal. A shell around it records its exit
    // status and the terminal's settings after it, then waits, so the pane is still there.
    void run(const std::vector<std::string>& args, int width = 80, int height = 25,
             const std::vector<std::string>& extraEnv = {}) {
        // PATH_FRONT: a folder of stand-in programs searched first.
        const std::string script =
            "[ -n \"$PATH_FRONT\" ] && PATH=\"$PATH_FRONT:$PATH\"; \"$0\" --tty "
            "\"$@\"; echo $? > " +
            dir + "/status; stty -a > " + dir + "/stty.part; mv " + dir + "/stty.part " + dir +
            "/stty; sleep 10";
        std::vector<std::string> argv{"sh", "-c", script, QUILITE_BINARY_DIR "/app/quilite"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> env{
            "HOME=" + dir, "XDG_CONFIG_HOME=" + dir + "/config", "XDG_DATA_HOME=" + dir + "/data",
            "XDG_RUNTIME_DIR=" + dir + "/run", "QUILITE_DATA_DIR=" QUILITE_SOURCE_DIR "/data"};
        for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = getenv(name)) env.push_back(std::string(name) + "=" + value);
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        tmux = std::make_unique<TmuxSession>(dir, width, height, env, argv);
    }
    // Runs the program connected to the test's host, which asks to echo and sends `banner`.
    void connect(const std::string& banner, const std::vector<std::string>& extraEnv = {}) {
        run({"127.0.0.1", std::to_string(listener.port())}, 80, 25, extraEnv);
        host = listener.accept(10000);
        ASSERT_GE(host, 0);
        const int on = 1;
        setsockopt(host, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ASSERT_TRUE(sendAll(host, kHostWillEcho + banner));
    }
    // Once the host's banner is shown, asks for a connection to another host.
    void askForASecondConnection() {
        ASSERT_TRUE(tmux->WaitForScreen("hello"));
        tmux->Keys({"C-]", "c"});
        ASSERT_TRUE(tmux->WaitForScreen("접속할 호스트"));
        tmux->Type("other.example 2323");
        tmux->Keys({"Enter"});
    }
    // What the host receives until `expected` has come (or time is up).
    std::string hostGets(const std::string& expected) {
        std::string got;
        for (int i = 0; i < 100 && withoutOptions(got).find(expected) == std::string::npos; ++i)
            got += receiveUntilQuiet(host, 50);
        return withoutOptions(got);
    }
    // The program's process (the child of the shell in the pane).
    int programPid() {
        const std::string shell = tmux->Format("#{pane_pid}");
        return std::atoi(readFile("/proc/" + shell + "/task/" + shell + "/children").c_str());
    }
    // The local modes of the pane's terminal as the program left them for now.
    tcflag_t paneLocalModes() {
        const int fd = open(tmux->Format("#{pane_tty}").c_str(), O_RDONLY | O_NOCTTY);
        termios modes{};
        if (fd >= 0) tcgetattr(fd, &modes);
        if (fd >= 0) close(fd);
        return modes.c_lflag;
    }
    // Polls a tmux format until it reads `value`.
    bool waitForFormat(const std::string& format, const std::string& value, int timeoutMs = 2000) {
        for (int i = 0; i < timeoutMs / 20; ++i) {
            if (tmux->Format(format) == value) return true;
            usleep(20000);
        }
        return false;
    }
    // The telnet entry "bbs" of the service 하이텔, on the loopback port.
    void addBbsEntry(int port) {
        CRecordStore store(*registry);
        ASSERT_TRUE(store.SelectKind(RecordKind::TelnetEntry));
        std::optional<RegKey> entry = store.AddRecord(store.Section());
        ASSERT_TRUE(entry &&
                    store.WriteRecord(*entry, {{"Title", "bbs"},
                                               {"Type", "1"},
                                               {"Host", cp("하이텔")},
                                               {"Server", "127.0.0.1:" + std::to_string(port)}}));
    }
    // The program ended and gave the terminal back as it found it.
    void expectTerminalRestored() {
        for (int i = 0; i < 250 && !std::filesystem::exists(dir + "/stty"); ++i)
            usleep(20000);
        EXPECT_EQ(readFile(dir + "/status"), "0\n");
        const std::string stty = readFile(dir + "/stty");
        for (const char* flag : {"icanon", "echo", "isig", "opost"})
            EXPECT_TRUE(std::regex_search(stty, std::regex(std::string("(^|\\s)") + flag + "\\s")))
                << flag << " in " << stty;
        EXPECT_EQ(tmux->Format("#{alternate_on} #{keypad_flag} #{cursor_flag} #{wrap_flag}"),
                  "0 0 1 1");
    }

    std::string dir;
    std::unique_ptr<Registry> registry;
    LoopbackListener listener;
    int host = -1;
    std::unique_ptr<TmuxSession> tmux;
};

TEST_F(TtyEndToEnd, TheScreenShowsKoreanBoxesAndTheStatusLine) {
    connect("\x1b[2J\x1b[H\x1b[1;33;44m" + cp(" 안녕하세요 퀼라이트 BBS ") +
            "\x1b[0m\r\n\x1b(0lqqk\x1b(B\r\n" + cp("│표│ 다음") + "\r\n" + cp("한글 끝.") + "\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("한글 끝.")) << tmux->Screen();
    const std::vector<std::string> lines = tmux->Lines();
    ASSERT_GE(lines.size(), 25u);
    EXPECT_EQ(lines[0], " 안녕하세요 퀼라이트 BBS");
    EXPECT_EQ(lines[1], "┌──┐");
    // The double-byte box character is one cell on the host: a blank keeps the columns.
    EXPECT_EQ(lines[2], "│ 표│  다음");
    const std::string status = lines[24];
    EXPECT_NE(status.find("텔넷 | 127.0.0.1:" + std::to_string(listener.port())), std::string::npos)
        << status;
    EXPECT_NE(status.find("00:00:0"), std::string::npos) << status;
}

// tmux draws box characters one cell wide: each line set's table shows with continuous lines,
// each corner and crossing in the column of the vertical beneath it.
TEST_F(TtyEndToEnd, BoxTablesOfEveryLineSetJoinInTheHostTerminal) {
    std::string page = "\x1b[2J\x1b[H";
    for (int y = 0; y < 5; ++y) {
        for (const BoxTable& table : kBoxTables)
            page += cp(table.page[y]) + "  ";
        page += "\r\n";
    }
    connect(page + cp("표 끝") + "\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("표 끝")) << tmux->Screen();
    const std::vector<std::string> lines = tmux->Lines();
    ASSERT_GE(lines.size(), 5u);
    for (int y = 0; y < 5; ++y) {
        std::string expected;
        for (const BoxTable& table : kBoxTables)
            expected += std::string(table.narrow[y]) + "   ";
        EXPECT_EQ(lines[y], expected.substr(0, expected.size() - 3));
    }
}

TEST_F(TtyEndToEnd, KeysKeypadAndPasteReachTheHostAsBytes) {
    connect("ready\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("ready"));
    tmux->Type("ab");
    tmux->Keys({"Enter", "F1", "Up", "BSpace", "DC", "F12"});
    tmux->Type("한");
    tmux->Keys({"KP5"});
    EXPECT_EQ(hostGets("5"),
              std::string("ab\r\0\x1b[11~\x1b[A\x08\x7f\x1b[24~", 19) + cp("한") + "5");

    // Keypad application mode asked by the host: the keypad sends its own sequences.
    ASSERT_TRUE(sendAll(host, "\x1b=mode\r\n"));
    ASSERT_TRUE(tmux->WaitForScreen("mode"));
    tmux->Keys({"KP5", "KP-"});
    EXPECT_EQ(hostGets("\x1bOm"), "\x1bOu\x1bOm");

    tmux->Paste("first line\nsecond 줄");
    EXPECT_EQ(hostGets(cp("second 줄")), std::string("first line\r\0second ", 19) + cp("줄"));
}

TEST_F(TtyEndToEnd, QuittingAsksOnTheStatusLineAndRestoresTheTerminal) {
    connect("hello\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("hello"));
    tmux->Keys({"C-]", "q"});
    ASSERT_TRUE(tmux->WaitForScreen("연결을 끊습니다.")) << tmux->Screen();
    tmux->Keys({"Escape"});
    ASSERT_TRUE(tmux->WaitForScreen("텔넷 |"));
    EXPECT_EQ(tmux->Format("#{pane_dead}"), "0");

    tmux->Keys({"C-]", "q"});
    ASSERT_TRUE(tmux->WaitForScreen("연결을 끊습니다."));
    tmux->Keys({"Enter"});
    expectTerminalRestored();
    receiveUntilQuiet(host, 200);  // the option answers
    char byte;
    EXPECT_EQ(recv(host, &byte, 1, MSG_DONTWAIT), 0);  // the host sees the connection end
}

TEST_F(TtyEndToEnd, ASignalEndsTheProgramAndRestoresTheTerminal) {
    connect("hello\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("hello"));
    const int pid = programPid();
    ASSERT_GT(pid, 0);
    kill(pid, SIGTERM);
    expectTerminalRestored();
}

TEST_F(TtyEndToEnd, ABusySessionRefusesASecondConnectionWithoutADisplay) {
    connect("hello\r\n");
    askForASecondConnection();
    EXPECT_TRUE(tmux->WaitForScreen("그래픽 화면이 없어")) << tmux->Screen();
    EXPECT_EQ(tmux->Format("#{pane_dead}"), "0");
}

// With a display the connection goes to a graphical copy; one that stops at once is reported.
TEST_F(TtyEndToEnd, AHandOffToACopyThatStopsAtOnceIsReported) {
    connect("hello\r\n", {"DISPLAY=:99"});
    askForASecondConnection();
    EXPECT_TRUE(tmux->WaitForScreen("새 창에서 연결합니다")) << tmux->Screen();
    EXPECT_TRUE(tmux->WaitForScreen("새 창을 열지 못했습니다")) << tmux->Screen();
    EXPECT_EQ(tmux->Format("#{pane_dead}"), "0");
}

TEST_F(TtyEndToEnd, ATooSmallTerminalWaitsForAResizeAndRowsCanFollowIt) {
    CSettingsSection(*registry, "Screen").SetString("VariableRows", "1");
    run({}, 70, 30);
    ASSERT_TRUE(tmux->WaitForScreen("터미널 창이 너무 작습니다")) << tmux->Screen();
    tmux->Resize(80, 40);
    ASSERT_TRUE(tmux->WaitForScreen("텔넷")) << tmux->Screen();
    const std::vector<std::string> lines = tmux->Lines();
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_NE(lines[39].find("OFFLINE"), std::string::npos) << lines[39];
}

}  // namespace

namespace {

TEST_F(TtyEndToEnd, PageUpShowsTheHistoryAndEscReturns) {
    std::string lines;
    for (int i = 1; i <= 60; ++i)
        lines += "history line " + std::to_string(i) + "\r\n";
    connect(lines);
    ASSERT_TRUE(tmux->WaitForScreen("history line 60"));
    tmux->Keys({"PPage"});
    ASSERT_TRUE(tmux->WaitForScreen("스크롤")) << tmux->Screen();
    EXPECT_NE(tmux->Screen().find("history line 30\n"), std::string::npos) << tmux->Screen();
    EXPECT_EQ(tmux->Screen().find("history line 60"), std::string::npos);
    tmux->Keys({"Escape"});
    EXPECT_TRUE(tmux->WaitForScreen("history line 60"));
    EXPECT_EQ(withoutOptions(receiveUntilQuiet(host, 200)), "");  // no key went to the host
}

// The command letters after Ctrl-]: each shows what it did on the screen or the status line.
TEST_F(TtyEndToEnd, TheCommandLettersHangUpScrollSwitchModesAndAskForEntries) {
    std::string lines;
    for (int i = 1; i <= 40; ++i)
        lines += "history line " + std::to_string(i) + "\r\n";
    connect(lines);
    ASSERT_TRUE(tmux->WaitForScreen("history line 40"));
    tmux->Keys({"C-]", "b"});
    ASSERT_TRUE(tmux->WaitForScreen("스크롤 (Esc: 돌아가기)")) << tmux->Screen();
    EXPECT_NE(tmux->Screen().find("history line 10\n"), std::string::npos) << tmux->Screen();
    tmux->Keys({"Escape"});
    ASSERT_TRUE(tmux->WaitForScreen("history line 40"));

    tmux->Keys({"C-]", "a"});  // answer mode is for the modem only
    EXPECT_TRUE(tmux->WaitForScreen("자동 응답은 모뎀 모드에서만 쓸 수 있습니다."))
        << tmux->Screen();

    tmux->Keys({"C-]", "h"});
    EXPECT_TRUE(tmux->WaitForScreen("Connection closed.")) << tmux->Screen();
    EXPECT_TRUE(tmux->WaitForScreen("OFFLINE")) << tmux->Screen();
    char byte;
    for (int i = 0; i < 100 && recv(host, &byte, 1, MSG_DONTWAIT) != 0; ++i)
        usleep(20000);
    EXPECT_EQ(recv(host, &byte, 1, MSG_DONTWAIT), 0);  // the host sees the connection end

    tmux->Keys({"C-]", "m"});  // no modem is set up: the user is told, the mode changes
    ASSERT_TRUE(tmux->WaitForScreen("설정된 모뎀이 없습니다.")) << tmux->Screen();
    tmux->Keys({"Enter"});
    EXPECT_TRUE(tmux->WaitForScreen(" 모뎀 |")) << tmux->Screen();
    tmux->Keys({"C-]", "t"});
    EXPECT_TRUE(tmux->WaitForScreen(" 텔넷 |")) << tmux->Screen();

    tmux->Keys({"C-]", "e"});
    ASSERT_TRUE(tmux->WaitForScreen("텔넷 연결 이름:")) << tmux->Screen();
    tmux->Type("없는 연결");
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("\"없는 연결\" 연결을 찾을 수 없습니다.")) << tmux->Screen();
    // Keys typed right after the answer, and read with it, still count once the question ends.
    tmux->Keys({"Enter", "C-]", "d"});
    ASSERT_TRUE(tmux->WaitForScreen("모뎀 연결 이름:")) << tmux->Screen();
    tmux->Keys({"Escape"});  // nothing asked for, nothing dialled
    EXPECT_TRUE(waitForFormat("#{pane_dead}", "0"));
    EXPECT_TRUE(tmux->WaitForScreen("OFFLINE")) << tmux->Screen();
    EXPECT_EQ(tmux->Screen().find("모뎀 연결 이름:"), std::string::npos) << tmux->Screen();
}

// Ctrl-] l and a key drive the capture; the status line shows it after the mode; "v" opens the
// recording in $VISUAL in this terminal, and the program's screen comes back after it.
TEST_F(TtyEndToEnd, CaptureKeysRecordTheScreenAndOpenItInTheEditor) {
    const std::string editor = dir + "/editor";
    std::ofstream(editor) << "#!/bin/sh\ncp \"$1\" " << dir
                          << "/edited\necho EDITOR RAN\nsleep 1\n";
    chmod(editor.c_str(), 0755);
    connect("hello\r\n", {"VISUAL=" + editor, "TMPDIR=" + dir});
    ASSERT_TRUE(tmux->WaitForScreen("hello"));
    tmux->Keys({"C-]", "l"});
    ASSERT_TRUE(tmux->WaitForScreen("갈무리: l 시작/끝")) << tmux->Screen();
    tmux->Keys({"l"});
    ASSERT_TRUE(tmux->WaitForScreen("텔넷 갈무리 | 갈무리를 시작합니다.")) << tmux->Screen();
    ASSERT_TRUE(sendAll(host, "captured\n\r" + cp("한글") + "\r\n"));
    ASSERT_TRUE(tmux->WaitForScreen("한글"));
    tmux->Keys({"C-]", "l"});
    ASSERT_TRUE(tmux->WaitForScreen("갈무리: l 시작/끝")) << tmux->Screen();
    tmux->Keys({"v"});
    ASSERT_TRUE(tmux->WaitForScreen("EDITOR RAN")) << tmux->Screen();
    ASSERT_TRUE(tmux->WaitForScreen("captured")) << tmux->Screen();
    EXPECT_EQ(readFile(dir + "/edited"), "captured\r\n\r" + cp("한글") + "\r\n");
    EXPECT_EQ(tmux->Screen().find("텔넷 갈무리"), std::string::npos) << tmux->Screen();
}

// Esc or the command key gives up a connect that gets no answer; the status line says so, and
// the program stays without a command list.
class TtyCancelConnect : public TtyEndToEnd, public ::testing::WithParamInterface<const char*> {};

TEST_P(TtyCancelConnect, AKeyGivesUpAPendingConnect) {
    FullListener silent;
    run({"127.0.0.1", std::to_string(silent.port())});
    ASSERT_TRUE(tmux->WaitForScreen("Trying 127.0.0.1 ...")) << tmux->Screen();
    tmux->Keys({GetParam()});
    EXPECT_TRUE(tmux->WaitForScreen("연결을 취소했습니다.")) << tmux->Screen();
    EXPECT_EQ(tmux->Screen().find(" 명령: "), std::string::npos) << tmux->Screen();
    EXPECT_TRUE(waitForFormat("#{pane_dead}", "0"));
}

INSTANTIATE_TEST_SUITE_P(EscOrCommandKey, TtyCancelConnect, ::testing::Values("Escape", "C-]"));

// Ctrl-Z (SIGTSTP) gives the terminal back before the program stops; SIGCONT takes it again and
// redraws.
TEST_F(TtyEndToEnd, SuspendingGivesTheTerminalBackAndContinuingRedraws) {
    connect("hello\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("hello"));
    const int pid = programPid();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(paneLocalModes() & (ICANON | ECHO), 0u);
    kill(pid, SIGTSTP);
    ASSERT_TRUE(waitForFormat("#{alternate_on} #{keypad_flag} #{cursor_flag}", "0 0 1"));
    const tcflag_t suspended = paneLocalModes();
    EXPECT_EQ(suspended & (ICANON | ECHO | ISIG), tcflag_t(ICANON | ECHO | ISIG));

    kill(pid, SIGCONT);
    ASSERT_TRUE(waitForFormat("#{alternate_on}", "1"));
    EXPECT_TRUE(tmux->WaitForScreen("hello")) << tmux->Screen();
    EXPECT_TRUE(tmux->WaitForScreen("텔넷 |")) << tmux->Screen();
    EXPECT_EQ(paneLocalModes() & (ICANON | ECHO), 0u);
    ASSERT_TRUE(sendAll(host, "after\r\n"));
    EXPECT_TRUE(tmux->WaitForScreen("after")) << tmux->Screen();
    kill(pid, SIGTERM);
    expectTerminalRestored();
}

// The start sound plays as the program starts and the end sound as it ends, through the
// desktop's command-line player (a stand-in that records what it was given).
TEST_F(TtyEndToEnd, TheStartAndEndSoundsArePlayed) {
    const std::string bin = dir + "/bin", log = dir + "/played";
    std::filesystem::create_directory(bin);
    std::ofstream(bin + "/paplay") << "#!/bin/sh\necho \"$*\" >> " << log << "\n";
    std::filesystem::permissions(bin + "/paplay", std::filesystem::perms::owner_all);
    for (const auto& [event, file] :
         {std::pair<std::string, std::string>{"프로그램 시작", "start.wav"},
          {"프로그램 끝", "end.wav"}}) {
        std::ofstream(dir + "/" + file) << "RIFF";
        auto key = registry->createPath(soundEventsPath() + "\\" + cp(event) + "\\.current");
        ASSERT_TRUE(key);
        ASSERT_TRUE(registry->setValue(*key, "", dir + "/" + file));
    }
    registry.reset();  // the program opens the store itself
    run({}, 80, 25, {"PATH_FRONT=" + bin});
    ASSERT_TRUE(tmux->WaitForScreen("OFFLINE")) << tmux->Screen();
    for (int i = 0; i < 100 && readFile(log).empty(); ++i)
        usleep(20000);
    EXPECT_EQ(readFile(log), "-- " + dir + "/start.wav\n");
    tmux->Keys({"C-]", "q"});
    expectTerminalRestored();
    EXPECT_EQ(readFile(log), "-- " + dir + "/start.wav\n-- " + dir + "/end.wav\n");
}

// A bell from the host rings the user's terminal unless "Silent" is set.
TEST_F(TtyEndToEnd, TheBellRings) {
    connect("ring\a\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("ring"));
    EXPECT_TRUE(waitForFormat("#{window_bell_flag}", "1"));
}

TEST_F(TtyEndToEnd, ASilentSessionDoesNotRing) {
    CSettingsSection(*registry, "Settings").SetString("Silent", "1");
    connect("quiet\a\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("quiet"));
    EXPECT_FALSE(waitForFormat("#{window_bell_flag}", "1", 300));
}

// Without a terminal, and without a display the window can use, the program says what to do
// instead and ends with status 2 (never Qt's own abort).
TEST_F(TtyEndToEnd, WithoutATerminalOrDisplayTheProgramRefusesInKorean) {
    struct Case {
        std::vector<std::string> args;
        const char* display;  // null: unset
        const char* message;
    };
    const Case cases[] = {
        {{"bbs.example"}, nullptr, "터미널이 아닌 곳에서는 실행할 수 없습니다"},
        {{"--gui"}, nullptr, "그래픽 화면에 연결할 수 없습니다. 터미널에서 quilite --tty"},
        {{"--gui", "bbs.example"}, ":4071", "그래픽 화면에 연결할 수 없습니다"},
        {{"bbs.example"}, ":4071", "그래픽 화면에 연결할 수 없습니다"},
    };
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + (c.display ? c.display : ""));
        if (c.display)
            setenv("DISPLAY", c.display, 1);
        else
            unsetenv("DISPLAY");
        std::vector<std::string> argv{QUILITE_BINARY_DIR "/app/quilite"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        PeerProcess program(argv, -1, dir, dir + "/err");
        EXPECT_EQ(program.wait(10000), 2);
        EXPECT_NE(readFile(dir + "/err").find(c.message), std::string::npos)
            << readFile(dir + "/err");
    }
    unsetenv("DISPLAY");
}

// Auto macros of a service log in and page through the scripted host's board; Ctrl-] o turns
// them off and on again, and the setting is stored.
TEST_F(TtyEndToEnd, AutoMacrosPageThroughABoardAndCtrlOTogglesThem) {
    ScriptedBbsHost bbs(ServiceBbsScript("하이텔"), 15000);
    addBbsEntry(bbs.port());
    CRecordStore store(*registry);
    std::vector<Record> rules;
    for (auto [pattern, reply] : {std::pair{"login:", "guest<Enter>"},
                                  {"Password:", "secret<Enter>"},
                                  {"선택>", "1<Enter>"},
                                  {"[Enter]를 누르세요", "<Enter>"}})
        rules.push_back({{"Title", cp(pattern)}, {"Pattern", cp(pattern)}, {"SendString", reply}});
    ASSERT_TRUE(store.SaveList(cp("하이텔"), RecordKind::AutoMacro, rules));

    run({"/t", "bbs"});
    ASSERT_TRUE(tmux->WaitForScreen("선택> 안녕히 가십시오", 15000)) << tmux->Screen();
    EXPECT_TRUE(bbs.succeeded());
    const std::string cr("\r\0", 2);
    EXPECT_EQ(bbs.received(), "guest" + cr + "secret" + cr + "1" + cr + cr + cr + "1" + cr);

    tmux->Keys({"C-]", "o"});
    ASSERT_TRUE(tmux->WaitForScreen("자동 매크로를 끕니다.")) << tmux->Screen();
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetInt("UseAutoMacro", 1), 0);
    tmux->Keys({"C-]", "o"});
    ASSERT_TRUE(tmux->WaitForScreen("자동 매크로를 켭니다.")) << tmux->Screen();
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetInt("UseAutoMacro", 0), 1);
}

// Keys reported as pressed: unbound they send what they always sent; bound on the plain host's
// service "기본" they run their macros instead.
const std::vector<std::string> kMacroKeys = {"F2", "S-F5", "C-S-F5", "C-F1", "M-l", "C-M-Left"};

TEST_F(TtyEndToEnd, UnboundMacroKeysSendTheirUsualBytes) {
    connect("ready\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("ready"));
    tmux->Keys(kMacroKeys);
    tmux->Type("z");
    EXPECT_EQ(hostGets("z"), "\x1b[12~\x1b[28~\x1bOP\x1bl\x1b[Dz");
}

TEST_F(TtyEndToEnd, MacroKeysRunTheirMacros) {
    ASSERT_FALSE(AddService(*registry, {{"Title", cp("기본")}}));
    RegKey macros = *registry->createKey(*ServiceRecord(*registry, cp("기본")), "Macro");
    const std::vector<std::string> keyTexts = {"F2",      "Shift+F5", "Ctrl+Shift+F5",
                                               "Ctrl+F1", "Alt+L",    "Ctrl+Alt+Left"};
    for (size_t i = 0; i < keyTexts.size(); ++i)
        ASSERT_TRUE(registry->setValue(macros, keyTexts[i], std::to_string(i) + "<Enter>"));
    connect("ready\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("ready"));
    tmux->Keys(kMacroKeys);
    const std::string cr("\r\0", 2);
    EXPECT_EQ(hostGets("5" + cr), "0" + cr + "1" + cr + "2" + cr + "3" + cr + "4" + cr + "5" + cr);
}

// Ctrl-] k: the service's macros drawn over the screen; a number runs one, even one on a key a
// terminal cannot send (Ctrl+Shift+A); Esc and the run give the screen back as it was.
TEST_F(TtyEndToEnd, TheMacroListRunsMacrosAndGivesTheScreenBack) {
    ASSERT_FALSE(AddService(*registry, {{"Title", cp("기본")}}));
    RegKey macros = *registry->createKey(*ServiceRecord(*registry, cp("기본")), "Macro");
    ASSERT_TRUE(registry->setValue(macros, "Ctrl+Shift+A", "csa<Enter>second"));
    ASSERT_TRUE(registry->setValue(macros, "@Ctrl+Shift+A", cp("가나다")));
    ASSERT_TRUE(registry->setValue(macros, "F3", "f3\r\nnext"));
    ASSERT_TRUE(registry->setValue(macros, "@F3", "zeta"));
    connect("\x1b[1;33mready\x1b[0m\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("ready"));
    const std::string before = tmux->ScreenWithColours();

    tmux->Keys({"C-]", "k"});
    ASSERT_TRUE(tmux->WaitForScreen("매크로: 기본")) << tmux->Screen();
    std::vector<std::string> lines = tmux->Lines();
    EXPECT_EQ(lines[2], " 1 zeta" + std::string(13, ' ') + "F3" + std::string(15, ' ') + "f3");
    EXPECT_EQ(lines[3], " 2 가나다" + std::string(11, ' ') + "Ctrl+Shift+A" + std::string(5, ' ') +
                            "csa<Enter>second");
    EXPECT_NE(lines[24].find("Esc 닫기"), std::string::npos) << lines[24];
    tmux->Keys({"Escape"});
    for (int i = 0; i < 100 && tmux->ScreenWithColours() != before; ++i)
        usleep(20000);
    EXPECT_EQ(tmux->ScreenWithColours(), before);

    tmux->Keys({"C-]", "k"});
    ASSERT_TRUE(tmux->WaitForScreen("매크로: 기본")) << tmux->Screen();
    tmux->Type("2");
    EXPECT_EQ(hostGets("second"), std::string("csa\r\0second", 11));
    tmux->Keys({"C-]", "k"});
    ASSERT_TRUE(tmux->WaitForScreen("매크로: 기본")) << tmux->Screen();
    tmux->Keys({"Down", "Down", "Up", "Enter"});
    EXPECT_EQ(hostGets("next"), std::string("f3\r\0next", 8));
    EXPECT_EQ(tmux->Screen().find("매크로:"), std::string::npos) << tmux->Screen();
}

// "+", "e" and "d" in the list: the key pressed or its text typed, name and contents on the
// status line, the settings page's checks, and the service's macros saved at once.
TEST_F(TtyEndToEnd, TheMacroListAddsEditsAndDeletesMacros) {
    ASSERT_FALSE(AddService(*registry, {{"Title", cp("기본")}}));
    connect("ready\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("ready"));
    auto stored = [&] {
        std::vector<MacroRow> rows;
        LoadMacros(*registry, cp("기본"), rows);
        return rows;
    };
    auto answer = [&](const std::string& question, const std::vector<std::string>& keys) {
        ASSERT_TRUE(tmux->WaitForScreen(question)) << tmux->Screen();
        tmux->Keys(keys);
    };
    tmux->Keys({"C-]", "k"});
    ASSERT_TRUE(tmux->WaitForScreen("매크로: 기본")) << tmux->Screen();

    // A typing key is refused and the questions come again with what was typed.
    tmux->Type("+");
    answer("단축키를 누르십시오", {"a"});
    answer("이름:", {"x", "Enter"});
    answer("내용", {"y", "Enter"});
    answer("일반 키는 단축키로 지정할 수 없습니다.", {"Enter"});
    answer("단축키를 누르십시오 [지금 A]", {"F2"});
    answer("이름: x", {"BSpace", "t", "o", "p", "Enter"});
    answer("내용", {"BSpace"});
    tmux->Type("top<Enter>");
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen(" 1 top")) << tmux->Screen();
    EXPECT_EQ(stored(), (std::vector<MacroRow>{{"top", "F2", "top<Enter>"}}));

    // A key that is taken reopens the questions; Esc gives up.
    tmux->Type("+");
    answer("단축키를 누르십시오", {"F2"});
    answer("이름:", {"d", "Enter"});
    answer("내용", {"z", "Enter"});
    answer("F2 매크로가 이미 존재합니다.", {"Enter"});
    answer("단축키를 누르십시오 [지금 F2]", {"Escape"});

    // A key text typed after Enter, as it is written; the old values go.
    ASSERT_TRUE(tmux->WaitForScreen("Esc 닫기")) << tmux->Screen();
    tmux->Type("e");
    answer("단축키를 누르십시오 [지금 F2]", {"Enter"});
    answer("단축키 (예: Ctrl+Shift+A): F2", {"BSpace", "BSpace"});
    tmux->Type("Ctrl+Shift+a");
    tmux->Keys({"Enter"});
    answer("이름: top", {"Enter"});
    answer("내용 (<Enter> 등 키 표기): top<Enter>", {"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("Ctrl+Shift+A")) << tmux->Screen();
    EXPECT_EQ(stored(), (std::vector<MacroRow>{{"top", "Ctrl+Shift+A", "top<Enter>"}}));
    const RegKey macros = *registry->openKey(*ServiceRecord(*registry, cp("기본")), "Macro");
    EXPECT_EQ(registry->values(macros).size(), 2u);

    // A menu shortcut asks first; No keeps the questions up.
    tmux->Type("+");
    answer("단축키를 누르십시오", {"M-l"});
    answer("이름:", {"l", "Enter"});
    answer("내용", {"l", "Enter"});
    answer("Alt+L는", {"n"});
    answer("단축키를 누르십시오 [지금 Alt+L]", {"Escape"});

    ASSERT_TRUE(tmux->WaitForScreen("Esc 닫기")) << tmux->Screen();
    tmux->Type("d");
    answer("top 매크로를 삭제하시겠습니까?", {"y"});
    for (int i = 0; i < 100 && !stored().empty(); ++i)
        usleep(20000);
    EXPECT_TRUE(stored().empty());
    tmux->Keys({"Escape"});
    ASSERT_TRUE(tmux->WaitForScreen("ready")) << tmux->Screen();

    // Where the service has no record nothing can be stored, and the user is told so.
    registry->deleteKey(*ServiceRecord(*registry, cp("기본")));
    tmux->Keys({"C-]", "k"});
    ASSERT_TRUE(tmux->WaitForScreen("매크로: 기본")) << tmux->Screen();
    tmux->Type("+");
    EXPECT_TRUE(tmux->WaitForScreen("기본 통신망이 없어 매크로를 등록할 수 없습니다."))
        << tmux->Screen();
}

// The done-when of the auto log-in: an ID stored by quilite-reg, then a telnet entry of the
// service logs in without a key press, or through the status-line chooser.
class TtyAutoLogin : public TtyEndToEnd {
protected:
    void SetUp() override {
        std::ofstream(dir + "/password") << "secret\n";
        const std::string command = QUILITE_BINARY_DIR "/tools/quilite-reg --db '" + dir +
                                    "/config/quilite/profile.db' login 하이텔 guest < '" + dir +
                                    "/password'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        addBbsEntry(bbs.port());
    }
    int storedAutoLogin() {
        return CSettingsSection(*registry, "Settings").GetInt("UseAutoLogin", -1);
    }

    ScriptedBbsHost bbs{ServiceBbsScript("하이텔"), 8000};
    const std::string cr{"\r\0", 2};
};

TEST_F(TtyAutoLogin, AutomaticSelectionLogsInWithoutAKey) {
    CSettingsSection(*registry, "Settings").SetInt("UseAutoLogin", 1);
    run({"/t", "bbs"});
    ASSERT_TRUE(tmux->WaitForScreen("선택>", 15000)) << tmux->Screen();
    EXPECT_EQ(bbs.received(), "guest" + cr + "secret" + cr);
    tmux->Keys({"C-]", "f"});
    ASSERT_TRUE(tmux->WaitForScreen("로그인 자동 선택을 끕니다.")) << tmux->Screen();
    EXPECT_EQ(storedAutoLogin(), 0);
    tmux->Keys({"C-]", "p"});
    ASSERT_TRUE(tmux->WaitForScreen("사용자 로그인을 끕니다.")) << tmux->Screen();
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetInt("UseLogin", -1), 0);
}

TEST_F(TtyAutoLogin, TheStatusLineChooserTakesTheDefaultAndTab) {
    run({"/t", "bbs"});
    ASSERT_TRUE(tmux->WaitForScreen("사용자 로그인: 1 guest", 15000)) << tmux->Screen();
    EXPECT_EQ(bbs.received(), "");
    tmux->Keys({"Tab"});
    ASSERT_TRUE(tmux->WaitForScreen("자동선택 ●")) << tmux->Screen();
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("선택>", 15000)) << tmux->Screen();
    EXPECT_EQ(bbs.received(), "guest" + cr + "secret" + cr);
    EXPECT_EQ(storedAutoLogin(), 1);
}

}  // namespace

// DOS mode on the command key's x or "/exec" in the chat input line: the shell's prompt in the
// status line's input line, its output on the screen, a long file paged with the question on the
// status line, a program started in the shell's folder, the command key still working while the
// line is open, and nothing of it reaching the host.
TEST_F(TtyEndToEnd, DosModeRunsInTheStatusLineInputLine) {
    {
        std::ofstream file(dir + "/long.txt");
        for (int i = 1; i <= 150; ++i)
            file << "line " << i << "\n";
    }
    connect("hello\r\n");
    ASSERT_TRUE(tmux->WaitForScreen("hello"));
    const auto statusLine = [&] { return tmux->Lines().back(); };
    // Waits until the status line shows the text, or no longer does.
    const auto statusShows = [&](const std::string& text, bool shown) {
        for (int i = 0; i < 100 && (statusLine().find(text) != std::string::npos) != shown; ++i)
            usleep(20000);
        return (statusLine().find(text) != std::string::npos) == shown;
    };
    tmux->Keys({"C-]", "x"});
    ASSERT_TRUE(tmux->WaitForScreen("C:\\>")) << tmux->Screen();
    EXPECT_TRUE(statusShows("C:\\>", true)) << tmux->Screen();
    EXPECT_EQ(statusLine().rfind(" C:\\>", 0), 0u) << tmux->Screen();  // the prompt alone
    EXPECT_NE(tmux->Screen().find("반트라 도스 98"), std::string::npos) << tmux->Screen();

    tmux->Type("d:");
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("D:\\>")) << tmux->Screen();
    tmux->Type("type long.txt");
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("계속하려면 엔터를 누르십시오.")) << tmux->Screen();
    EXPECT_EQ(tmux->Screen().find("line 150"), std::string::npos) << tmux->Screen();
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("line 150")) << tmux->Screen();
    EXPECT_TRUE(statusShows("D:\\>", true)) << tmux->Screen();

    tmux->Type("exit");
    tmux->Keys({"Enter"});
    EXPECT_TRUE(statusShows("D:\\>", false)) << tmux->Screen();

    // The command key reaches its commands while the line is open: x both ways.
    tmux->Keys({"C-]", "x"});
    EXPECT_TRUE(statusShows("D:\\>", true)) << tmux->Screen();
    tmux->Keys({"C-]", "x"});
    EXPECT_TRUE(statusShows("D:\\>", false)) << tmux->Screen();

    // From the chat input line: "/exec" turns the shell on, a program runs in the shell's folder
    // and the screen comes back, and "exit" leaves the chat line open.
    tmux->Keys({"C-]", "i"});
    tmux->Type("/exec");
    tmux->Keys({"Enter"});
    EXPECT_TRUE(statusShows("D:\\>", true)) << tmux->Screen();
    tmux->Type("touch made.txt");
    tmux->Keys({"Enter"});
    for (int i = 0; i < 100 && !std::filesystem::exists(dir + "/made.txt"); ++i)
        usleep(20000);
    EXPECT_TRUE(std::filesystem::exists(dir + "/made.txt"));
    EXPECT_TRUE(tmux->WaitForScreen("D:\\> touch made.txt")) << tmux->Screen();
    tmux->Type("exit");
    tmux->Keys({"Enter"});
    EXPECT_TRUE(statusShows("D:\\>", false)) << tmux->Screen();
    EXPECT_TRUE(statusShows("채팅>", true)) << tmux->Screen();
    tmux->Keys({"Escape"});
    EXPECT_TRUE(statusShows("채팅>", false)) << tmux->Screen();

    tmux->Type("abc");
    EXPECT_EQ(hostGets("abc"), "abc");
}
