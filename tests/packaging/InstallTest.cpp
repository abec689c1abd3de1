// The build installed into an empty temporary prefix, as `cmake --install` leaves it: every
// program answers --help and has its manual page, the pages render without warnings, the
// desktop entry validates, the installed quilite runs the demo in a terminal, and a missing or
// unreadable data folder is reported in Korean instead of a crash.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/fixtures/TmuxSession.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

struct Outcome {
    int status = -1;
    std::string out, err;
};

class Installed : public ::testing::Test {
protected:
    // One installation for every case of this program.
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/quilite-install-XXXXXX";
        dir_ = new std::string(mkdtemp(pattern));
        const Outcome install = run(std::string(QUILITE_CMAKE) +
                                    " --install " QUILITE_BINARY_DIR " --prefix " + prefix());
        ASSERT_EQ(install.status, 0) << install.out << install.err;
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir_);
        delete dir_;
    }

    static std::string prefix() { return *dir_ + "/prefix"; }
    static std::string bin(const std::string& program) { return prefix() + "/bin/" + program; }

    // Runs a shell command line in a clean environment of its own (no QUILITE_DATA_DIR of the
    // caller's), its output kept in files.
    static Outcome run(const std::string& command, const std::string& env = "") {
        const std::string out = *dir_ + "/out", err = *dir_ + "/err";
        const std::string line =
            "env -u QUILITE_DATA_DIR -u DISPLAY -u WAYLAND_DISPLAY HOME=" + *dir_ +
            " XDG_CONFIG_HOME=" + *dir_ + "/config " + env + " " + command + " </dev/null >" + out +
            " 2>" + err;
        const int status = std::system(line.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
    }

    static std::string* dir_;
};

std::string* Installed::dir_ = nullptr;

TEST_F(Installed, EveryProgramAnswersHelpAndHasItsManualPage) {
    const std::vector<std::string> programs = words(QUILITE_INSTALLED_PROGRAMS);
    ASSERT_FALSE(programs.empty());
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(prefix() + "/bin"))
        found.push_back(entry.path().filename());
    EXPECT_EQ(found.size(), programs.size());
    for (const std::string& program : programs) {
        const Outcome help = run(bin(program) + " --help");
        EXPECT_EQ(help.status, 0) << program << ": " << help.err;
        EXPECT_TRUE(help.out.starts_with("usage: " + program) ||
                    help.out.starts_with("사용법: " + program))
            << program << ": " << help.out;
        EXPECT_EQ(help.err, "") << program;
        EXPECT_TRUE(fs::exists(prefix() + "/share/man/man1/" + program + ".1.gz")) << program;
    }
}

TEST_F(Installed, LibrariesArePrivateVersionedAndWithoutDevelopmentFiles) {
    for (const std::string& library : words(QUILITE_INSTALLED_LIBRARIES)) {
        const std::string base =
            prefix() + "/" QUILITE_LIBRARY_DESTINATION "/lib" + library + ".so";
        EXPECT_TRUE(fs::is_symlink(base + ".1")) << library;
        EXPECT_TRUE(fs::is_regular_file(base + ".1.0.0")) << library;
        EXPECT_FALSE(fs::exists(base)) << library;
        const Outcome soname = run("objdump -p " + base + ".1.0.0");
        EXPECT_NE(soname.out.find("SONAME               lib" + library + ".so.1"),
                  std::string::npos)
            << soname.out;
    }
    EXPECT_FALSE(fs::exists(prefix() + "/include"));
    for (const auto& entry : fs::recursive_directory_iterator(prefix()))
        EXPECT_NE(entry.path().extension(), ".a") << entry.path();
}

TEST_F(Installed, ManualPagesRenderWithoutWarnings) {
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(prefix() + "/share/man/man1")) {
        const std::string page = entry.path();
        const Outcome man = run("man --warnings -E UTF-8 -l -Tutf8 -Z " + page);
        EXPECT_EQ(man.status, 0) << page;
        EXPECT_EQ(man.err, "") << page;
        const Outcome groff = run("sh -c 'zcat \"$0\" | groff -ww -k -man -Tutf8 -z' " + page);
        EXPECT_EQ(groff.status, 0) << page;
        EXPECT_EQ(groff.err, "") << page;
        ++pages;
    }
    EXPECT_EQ(pages, static_cast<int>(words(QUILITE_INSTALLED_PROGRAMS).size()));
    const Outcome quilite =
        run("man -l " + prefix() + "/share/man/man1/quilite.1.gz", "MANWIDTH=80");
    EXPECT_NE(quilite.out.find("Ctrl-]"), std::string::npos);
    EXPECT_NE(quilite.out.find("QUILITE_DATA_DIR"), std::string::npos);
}

TEST_F(Installed, DesktopEntryValidatesAndHandlesTelnetAddresses) {
    const std::string entry = prefix() + "/share/applications/quilite.desktop";
    const Outcome validate = run("desktop-file-validate " + entry);
    EXPECT_EQ(validate.status, 0);
    EXPECT_EQ(validate.out + validate.err, "");
    const std::string text = readFile(entry);
    EXPECT_NE(text.find("MimeType=x-scheme-handler/telnet;"), std::string::npos);
    EXPECT_NE(text.find("Exec=quilite %u"), std::string::npos);
    for (const char* size : {"16x16", "32x32", "48x48", "256x256"})
        EXPECT_TRUE(fs::exists(prefix() + "/share/icons/hicolor/" + size + "/apps/quilite.png"))
            << size;
}

TEST_F(Installed, DemoReachesItsMainMenuInATerminal) {
    const std::string home = *dir_ + "/demo";
    fs::create_directories(home + "/run");
    chmod((home + "/run").c_str(), 0700);
    std::vector<std::string> env{"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config",
                                 "XDG_RUNTIME_DIR=" + home + "/run", "TMPDIR=" + home};
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"})
        if (const char* value = getenv(name)) env.push_back(std::string(name) + "=" + value);
    TmuxSession tmux(home, 80, 25, env, {bin("quilite"), "--demo", "--tty"});
    // A new user is told that the default profile goes in.
    ASSERT_TRUE(tmux.WaitForScreen("기본 사용자 환경", 15000)) << tmux.Screen();
    tmux.Keys({"Enter"});
    ASSERT_TRUE(tmux.WaitForScreen("login:", 15000)) << tmux.Screen();
    tmux.Type("guest");
    tmux.Keys({"Enter"});
    ASSERT_TRUE(tmux.WaitForScreen("Password:", 10000)) << tmux.Screen();
    tmux.Type("demo");
    tmux.Keys({"Enter"});
    EXPECT_TRUE(tmux.WaitForScreen("선택 (번호, go 코드, top, x) >>", 10000)) << tmux.Screen();
    EXPECT_NE(tmux.Screen().find("자유게시판 (FREE)"), std::string::npos) << tmux.Screen();
}

TEST_F(Installed, AMissingOrUnreadableDataFolderIsNamedInKorean) {
    const std::string file = *dir_ + "/not-a-folder";
    std::ofstream(file) << "x";
    struct Case {
        std::string dataDir, program, says;
    };
    const Case cases[] = {
        {*dir_ + "/nowhere", "quilite --tty",
         "프로그램의 데이터 폴더 " + *dir_ + "/nowhere 이(가) 없습니다."},
        {file, "quilite --tty", "프로그램의 데이터 폴더 " + file + " 을(를) 읽을 수 없습니다."},
        {*dir_ + "/nowhere", "quilite-demohost",
         "데이터 폴더 " + *dir_ + "/nowhere 이(가) 없습니다."},
    };
    for (const Case& c : cases) {
        const Outcome started = run(bin(c.program), "QUILITE_DATA_DIR=" + c.dataDir);
        EXPECT_EQ(started.status, 1) << c.program << ": " << started.err;
        EXPECT_NE(started.err.find(c.says), std::string::npos) << started.err;
        EXPECT_EQ(started.out, "");
    }
}

}  // namespace
