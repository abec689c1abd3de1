// Built-in command shell speed: `copy` of one large file and of many small ones against
// `cp --preserve=mode,timestamps`, and `dir` of a large folder against `ls -l`, in the same run.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Median.h"
#include "auto/Shell.h"
#include "platform/ScriptedPrompt.h"

namespace {

constexpr int kRuns = 3;
constexpr int kSmallFiles = 10000;
constexpr size_t kLargeFile = size_t(512) << 20;

class NullHost : public ShellHost {
public:
    size_t shown = 0;
    ScriptedPrompt prompts;
    void showLocal(std::string_view text) override { shown += text.size(); }
    int textRows() override { return 1 << 20; }
    void setInputPrompt(std::string_view) override {}
    Prompt& prompt() override { return prompts; }
    ProcessLauncher::Started startProgram(const std::vector<std::string>&,
                                          const std::string&) override {
        return {-1, 0};
    }
};

double medianMillis(const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        // Dirty pages of an earlier run are written back now, not during the next one.
        sync();
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    return median(times);
}

void report(const char* what, double ours, double peer, const char* peerName, double target) {
    const double ratio = ours / peer;
    std::printf("%-34s %9.1f ms   %-10s %9.1f ms   ratio %.2f (target <= %.1f)%s\n", what, ours,
                peerName, peer, ratio, target, ratio <= target ? "" : "  OVER");
}

}  // namespace

int main() {
    char pattern[] = "/tmp/quilite-shell-bench-XXXXXX";
    const std::string root = mkdtemp(pattern);
    std::filesystem::create_directories(root + "/many");
    {
        std::ofstream big(root + "/big", std::ios::binary);
        const std::string block(1 << 20, 'q');
        for (size_t written = 0; written < kLargeFile; written += block.size())
            big << block;
    }
    for (int i = 0; i < kSmallFiles; ++i)
        std::ofstream(root + "/many/f" + std::to_string(i)) << "small file " << i;

    NullHost host;
    DosShell shell(host, {{'C', root}});
    shell.ToggleShell();
    auto clean = [&](const char* name) {
        return [&root, name] { std::filesystem::remove_all(root + "/" + name); };
    };
    auto sh = [&](const std::string& command) {
        return [&root, command] {
            const std::string line = "cd '" + root + "' && " + command;
            if (std::system(line.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", line.c_str());
        };
    };

    report("copy of a 512 MiB file",
           medianMillis(clean("big2"), [&] { shell.RunShellCommand("copy big big2"); }),
           medianMillis(clean("big3"), sh("cp --preserve=mode,timestamps big big3")), "cp", 1.2);
    report("copy of 10,000 small files",
           medianMillis(clean("many2"), [&] { shell.RunShellCommand("copy many many2"); }),
           medianMillis(clean("many3"), sh("cp -R --preserve=mode,timestamps many many3")), "cp",
           1.2);
    report("dir of 10,000 entries", medianMillis([] {}, [&] { shell.RunShellCommand("dir many"); }),
           medianMillis([] {}, sh("ls -l many > /dev/null")), "ls -l", 2.0);
    std::filesystem::remove_all(root);
    return 0;
}
