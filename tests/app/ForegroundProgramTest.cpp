// Programs the command shell starts on the terminal: in the foreground, in the shell's folder,
// the argument vector as it is, and the reason when one cannot start.
#include <gtest/gtest.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/tty/ForegroundProgram.h"
#include "auto/ShellHost.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ShellProgramStartTest, ShellProgramsRunInTheFolderWithTheirArgumentsOrSayWhyNot) {
    char pattern[] = "/tmp/quilite-foreground-XXXXXX";
    const std::string root = mkdtemp(pattern);
    std::filesystem::create_directories(root + "/sub");
    const std::string program = root + "/args.sh";
    std::ofstream(program) << "#!/bin/sh\n{ pwd; for a; do echo \"[$a]\"; done; } > " << root
                           << "/args\n";
    chmod(program.c_str(), 0755);
    std::ofstream(root + "/plain") << "not a program";
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    {
        HostTerminal terminal(slave, slave);
        std::string error;
        ASSERT_TRUE(terminal.Enter(error)) << error;
        const ProcessLauncher::Started ran =
            startInForeground(terminal, {program, "a  b", "c;d", "$(touch p)"}, root + "/sub");
        EXPECT_EQ(ran.pid, 0);
        EXPECT_EQ(readFile(root + "/args"), root + "/sub\n[a  b]\n[c;d]\n[$(touch p)]\n");
        const struct {
            std::vector<std::string> argv;
            std::string folder;
            int error;
        } failures[] = {
            {{"no-such-program-here"}, root, ENOENT},
            {{root + "/plain"}, root, EACCES},
            {{program}, root + "/missing", ENOENT},
        };
        for (const auto& f : failures) {
            const ProcessLauncher::Started failed = startInForeground(terminal, f.argv, f.folder);
            EXPECT_EQ(failed.pid, -1) << f.argv[0];
            EXPECT_EQ(failed.error, f.error) << f.argv[0];
        }
    }
    close(master);
    close(slave);
    EXPECT_FALSE(std::filesystem::exists(root + "/sub/p"));
    std::filesystem::remove_all(root);
}

// The window's way: detached (a session of its own), in the folder, and the reason when it
// cannot start.
TEST(ShellProgramStartTest, WindowProgramsRunDetached) {
    char pattern[] = "/tmp/quilite-detached-XXXXXX";
    const std::string root = mkdtemp(pattern);
    ProcessLauncher launcher;
    const ProcessLauncher::Started started = startDetached(
        launcher,
        {"sh", "-c", "pwd > out; [ $(cut -d' ' -f6 /proc/$$/stat) = $$ ] && echo leader >> out"},
        root);
    ASSERT_GT(started.pid, 0);
    EXPECT_EQ(launcher.wait(started.pid, 5000), 0);
    EXPECT_EQ(readFile(root + "/out"), root + "\nleader\n");
    EXPECT_EQ(startDetached(launcher, {"no-such-program-here"}, root).error, ENOENT);
    std::filesystem::remove_all(root);
}

}  // namespace
