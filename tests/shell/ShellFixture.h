#pragma once
// A shell over two temporary folders (C: and D:) with a host that records the screen, the
// input line's prompt and the questions asked.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "auto/Shell.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"

class RecordingHost : public ShellHost {
public:
    std::string screen;  // CP949
    std::string inputPrompt;
    int rows = 25;
    ScriptedPrompt prompts;

    void showLocal(std::string_view text) override { screen += text; }
    int textRows() override { return rows; }
    void setInputPrompt(std::string_view prompt) override { inputPrompt = prompt; }
    Prompt& prompt() override { return prompts; }
    ProcessLauncher::Started startProgram(const std::vector<std::string>& argv,
                                          const std::string& folder) override {
        const ProcessLauncher::Started started = launcher_.start(argv, folder);
        if (started.pid >= 0) launcher_.wait(started.pid, 10000);
        return started;
    }

private:
    ProcessLauncher launcher_;
};

class ShellFixture : public ::testing::Test {
protected:
    ShellFixture() {
        char pattern[] = "/tmp/quilite-shell-XXXXXX";
        root = mkdtemp(pattern);
        c = root + "/c";
        d = root + "/d";
        std::filesystem::create_directories(c);
        std::filesystem::create_directories(d);
        shell = std::make_unique<DosShell>(host, std::vector<ShellDrive>{{'C', c}, {'D', d}});
    }
    ~ShellFixture() override {
        shell.reset();
        std::filesystem::permissions(root, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(root);
    }

    // The screen output (UTF-8) of one command line typed as UTF-8, the shell on.
    std::string run(const std::string& line) {
        if (!shell->isOn()) shell->ToggleShell();
        host.screen.clear();
        shell->RunShellCommand(cp949(line));
        return cp949ToUtf8Lossy(host.screen);
    }
    std::string promptNow() const { return cp949ToUtf8Lossy(shell->prompt()); }

    static std::string cp949(const std::string& utf8) { return utf8ToCp949(utf8).value(); }
    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Standard output of a shell command line of the test (a peer such as find or iconv).
    static std::string capture(const std::string& command) {
        std::string out;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
        return out;
    }

    RecordingHost host;
    std::string root, c, d;
    std::unique_ptr<DosShell> shell;
};
