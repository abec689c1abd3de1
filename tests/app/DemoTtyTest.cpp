// quilite --demo --tty in a tmux terminal, as a user tries the demo: log in, the menu's Korean
// and boxes, the colour art, a post through the pager, downloads that start by themselves, an
// upload through the status line's question; logging out ends the host, and quitting leaves
// nothing behind.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "auto/FirstRunSetup.h"
#include "auto/ProfileStore.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/TmuxSession.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The processes of the demo host whose temporary folder is `folder`.
std::vector<std::string> hostsUsing(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string cmdline = readFile(entry.path() / "cmdline");
        const std::string environ = readFile(entry.path() / "environ");
        if (cmdline.find("quilite-demohost") != std::string::npos &&
            environ.find("TMPDIR=" + folder + '\0') != std::string::npos)
            found.push_back(entry.path());
    }
    return found;
}

// Waits up to 5 s for the process to be gone, collected by its parent.
bool processGone(const std::string& proc) {
    for (int i = 0; i < 250 && fs::exists(proc); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return !fs::exists(proc);
}

class DemoTty : public ::testing::Test {
protected:
    DemoTty() {
        char pattern[] = "/tmp/quilite-demo-tty-XXXXXX";
        dir = mkdtemp(pattern);
        mkdir((dir + "/run").c_str(), 0700);
        ScriptedPrompt prompt;
        std::string error;
        auto registry = openProfileStore(dir + "/config/quilite/profile.db", prompt, error);
        runFirstRunSetup(*registry, prompt, QUILITE_SOURCE_DIR "/data");
    }
    ~DemoTty() override {
        tmux.reset();
        fs::remove_all(dir);
    }

    void start() {
        const std::string script = "\"$0\" --demo --tty; echo $? > " + dir + "/status; sleep 10";
        std::vector<std::string> env{"HOME=" + dir, "XDG_CONFIG_HOME=" + dir + "/config",
                                     "XDG_DATA_HOME=" + dir + "/data",
                                     "XDG_RUNTIME_DIR=" + dir + "/run", "TMPDIR=" + dir};
        for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = getenv(name)) env.push_back(std::string(name) + "=" + value);
        tmux = std::make_unique<TmuxSession>(
            dir, 80, 25, env,
            std::vector<std::string>{"sh", "-c", script, QUILITE_BINARY_DIR "/app/quilite"});
    }
    // Types a line and waits for `text` on the screen.
    void enter(const std::string& line, const std::string& text, int timeoutMs = 10000) {
        tmux->Type(line);
        tmux->Keys({"Enter"});
        ASSERT_TRUE(tmux->WaitForScreen(text, timeoutMs)) << tmux->Screen();
    }
    void expectDownloaded(const std::string& name) {
        EXPECT_EQ(readFile(dir + "/Downloads/quilite/" + name),
                  readFile(QUILITE_BINARY_DIR "/data/DemoFiles/" + name))
            << name;
    }

    std::string dir;
    std::unique_ptr<TmuxSession> tmux;
};

TEST_F(DemoTty, LogInLookAroundTransferAndLeave) {
    start();
    ASSERT_TRUE(tmux->WaitForScreen("login:", 15000)) << tmux->Screen();
    enter("Guest", "Password:");
    enter("demo", "선택 (번호, go 코드, top, x) >>");
    EXPECT_EQ(tmux->Lines()[0], "초기 화면 (TOP)");
    EXPECT_NE(tmux->Screen().find("│   2. 자유게시판 (FREE)"), std::string::npos) << tmux->Screen();
    EXPECT_NE(tmux->Screen().find("┌──"), std::string::npos);

    enter("1", "산과 바다");
    const std::string colours = tmux->ScreenWithColours();
    for (const char* sgr : {"44m", "46m", "42m", "93m", "97m"})
        EXPECT_NE(colours.find(sgr), std::string::npos) << sgr;

    enter("go free", "자유게시판 (FREE)");
    enter("3", "[Enter]를 누르세요");
    enter("", "끝까지 읽어 주셔서");
    enter("", "4    byeol");

    enter("go files", "자료실 (FILES)");
    enter("3", "보내기가 끝났습니다.", 30000);
    expectDownloaded("random.bin");
    enter("4", "한글자료.txt 파일을 ZMODEM으로 보냅니다.\n\n보내기가 끝났습니다.", 30000);
    expectDownloaded("한글자료.txt");

    const std::string upload = dir + "/up.bin";
    std::ofstream(upload, std::ios::binary) << std::string(100000, '\xff') << "end";
    enter("up", "보낼 파일");
    enter(upload, ") 2:");
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("올리기가 끝났습니다.", 30000)) << tmux->Screen();
    bool landed = false;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().filename().string().rfind("quilite-demo-", 0) == 0)
            landed = readFile(entry.path() / "up.bin") == readFile(upload);
    }
    EXPECT_TRUE(landed);

    const std::vector<std::string> hosts = hostsUsing(dir);
    ASSERT_EQ(hosts.size(), 1u);
    enter("x", "안녕히 가십시오.");
    EXPECT_TRUE(processGone(hosts[0])) << "the host outlived its user";
    tmux->Keys({"C-]", "q"});
    for (int i = 0; i < 500 && readFile(dir + "/status").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(readFile(dir + "/status"), "0\n") << tmux->Screen();
    EXPECT_TRUE(hostsUsing(dir).empty());
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().filename().string().rfind("quilite-demo-", 0), 0u) << entry.path();
}

// A macro added from the command key's "k" list: F2 = "top<Enter>" takes the host back to its
// main menu from a board.
TEST_F(DemoTty, AMacroAddedFromTheListGoesToTheMainMenu) {
    start();
    ASSERT_TRUE(tmux->WaitForScreen("login:", 15000)) << tmux->Screen();
    enter("Guest", "Password:");
    enter("demo", "선택 (번호, go 코드, top, x) >>");
    enter("go free", "자유게시판 (FREE)");
    ASSERT_NE(tmux->Lines()[0], "초기 화면 (TOP)");

    tmux->Keys({"C-]", "k"});
    ASSERT_TRUE(tmux->WaitForScreen("매크로: 하이텔")) << tmux->Screen();
    tmux->Type("+");
    ASSERT_TRUE(tmux->WaitForScreen("단축키를 누르십시오")) << tmux->Screen();
    tmux->Keys({"F2"});
    ASSERT_TRUE(tmux->WaitForScreen("이름:")) << tmux->Screen();
    enter("top", "내용");
    enter("top<Enter>", " 1 top");
    tmux->Keys({"Escape"});
    ASSERT_TRUE(tmux->WaitForScreen("자유게시판 (FREE)")) << tmux->Screen();
    tmux->Keys({"F2"});
    ASSERT_TRUE(tmux->WaitForScreen("초기 화면 (TOP)", 10000)) << tmux->Screen();
    EXPECT_EQ(tmux->Lines()[0], "초기 화면 (TOP)");
}

// Moving about the demo as a user would: the place on the status line, a page turned through
// the command list, the board bookmarked from the tty's bookmark list, gone to again from the
// main menu, the next post by Ctrl+Alt+Right, the board found among the recent places; the
// visit is in the profile.
TEST_F(DemoTty, BookmarkTheBoardAndComeBackToIt) {
    start();
    ASSERT_TRUE(tmux->WaitForScreen("login:", 15000)) << tmux->Screen();
    enter("guest", "Password:");
    enter("demo", "선택 (번호, go 코드, top, x) >>");
    ASSERT_TRUE(tmux->WaitForScreen("| 초기 화면 (TOP)")) << tmux->Screen();
    enter("go free", "자유게시판 (FREE)");
    enter("3", "[Enter]를 누르세요");
    tmux->Keys({"C-]", "n"});
    ASSERT_TRUE(tmux->WaitForScreen("다음 페이지를 봅니다.")) << tmux->Screen();
    tmux->Type("4");  // no row has a two-digit number that begins with 4: it picks at once
    ASSERT_TRUE(tmux->WaitForScreen("끝까지 읽어 주셔서")) << tmux->Screen();
    enter("", "4    byeol");

    tmux->Keys({"C-]", "g"});
    ASSERT_TRUE(tmux->WaitForScreen("+ 현재 위치 추가")) << tmux->Screen();
    tmux->Type("+");
    ASSERT_TRUE(tmux->WaitForScreen("이름: 자유게시판")) << tmux->Screen();
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("위치: FREE")) << tmux->Screen();
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("1 자유게시판")) << tmux->Screen();
    tmux->Keys({"Escape"});
    ASSERT_TRUE(tmux->WaitForScreen("^]? 명령")) << tmux->Screen();  // the list is closed

    enter("top", "초기 화면 (TOP)");
    tmux->Keys({"C-]", "g"});
    ASSERT_TRUE(tmux->WaitForScreen("1 자유게시판")) << tmux->Screen();
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("4    byeol")) << tmux->Screen();
    EXPECT_EQ(tmux->Lines()[0], "자유게시판 (FREE)");
    tmux->Keys({"C-M-Right"});  // "다음 메시지": the post after the one read last
    ASSERT_TRUE(tmux->WaitForScreen("[Enter]를 누르세요")) << tmux->Screen();
    enter("", "4    byeol");
    tmux->Keys({"C-]", "j"});
    ASSERT_TRUE(tmux->WaitForScreen("최근 메뉴")) << tmux->Screen();
    EXPECT_NE(tmux->Screen().find("FREE"), std::string::npos) << tmux->Screen();
    tmux->Keys({"Escape"});
    ASSERT_TRUE(tmux->WaitForScreen("^]? 명령")) << tmux->Screen();  // the list is closed

    const std::string get =
        std::string(QUILITE_BINARY_DIR "/tools/quilite-reg --db ") + dir +
        "/config/quilite/profile.db get "
        "'HKCU\\Software\\Vantra\\반트라 퀼론 98 Lite\\Hosts\\000\\Bookmark\\000' "
        "VTime";
    FILE* reg = popen(get.c_str(), "r");
    ASSERT_TRUE(reg);
    char text[64] = {};
    const size_t n = fread(text, 1, sizeof text - 1, reg);
    pclose(reg);
    EXPECT_GT(std::atoll(std::string(text, n).c_str()), 1700000000LL) << text;
    enter("x", "안녕히 가십시오.");
    tmux->Keys({"C-]", "q"});
}

// The demo's chat room from the terminal: the participants on the command key's "u", the
// scripted participant's memo on the status line, its answer on "y" (the host echoes the memo
// command it received), and a line said through the chat input line of "i", which stays open.
TEST_F(DemoTty, ChatMemoAndTheInputLineInTheChatRoom) {
    start();
    ASSERT_TRUE(tmux->WaitForScreen("login:", 15000)) << tmux->Screen();
    enter("Guest", "Password:");
    enter("demo", "선택 (번호, go 코드, top, x) >>");
    enter("go chat", "guest(guest) 님이 입장하였습니다.");
    ASSERT_TRUE(tmux->WaitForScreen("하늘이(haneul  )  안녕하세요!", 15000)) << tmux->Screen();
    tmux->Keys({"C-]", "u"});
    ASSERT_TRUE(tmux->WaitForScreen("1 하늘이(haneul)")) << tmux->Screen();
    tmux->Keys({"Escape"});

    ASSERT_TRUE(tmux->WaitForScreen("쪽지 From haneul: 쪽지 시험입니다.", 15000)) << tmux->Screen();
    tmux->Keys({"C-]", "y"});
    ASSERT_TRUE(tmux->WaitForScreen("쪽지 To haneul:")) << tmux->Screen();
    enter("고맙습니다", "/memo haneul 고맙습니다");

    tmux->Keys({"C-]", "i"});
    ASSERT_TRUE(tmux->WaitForScreen(" 채팅>")) << tmux->Screen();
    enter("모두 반가워요", "guest(guest   )  모두 반가워요");
    tmux->Type("/st");
    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("대화실 (CHAT) 현황")) << tmux->Screen();
    EXPECT_EQ(tmux->Lines().back().rfind(" 채팅>", 0), 0u) << tmux->Screen();
    tmux->Keys({"Escape"});
    ASSERT_TRUE(tmux->WaitForScreen("^]? 명령")) << tmux->Screen();
    enter("/q", "선택 (번호, go 코드, top, x) >>");
    enter("x", "안녕히 가십시오.");
    tmux->Keys({"C-]", "q"});
}

}  // namespace
