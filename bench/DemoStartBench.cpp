// How soon the demo's ID prompt shows once the program starts, as scripts/run starts it when its
// build is done: "quilite --demo --tty" in a tmux terminal, and "quilite --demo" in its window
// on the offscreen platform (this program started again in its window mode, which does what
// main does for --demo and reads the session's screen). Beside each, measured in the same run,
// the floor it stands on: tmux showing a shell's prompt, and a raw client reading the ID prompt
// of a host it has just started. Median of three runs each; target: the prompt within 10 s.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/DemoLaunch.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/GuiProgram.h"
#include "auto/FirstRunSetup.h"
#include "auto/ProfileStore.h"
#include "bench/Median.h"
#include "platform/DataFolder.h"
#include "platform/ProcessLauncher.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/TmuxSession.h"

namespace {

constexpr int kRuns = 3;
constexpr int kTimeoutMs = 20000;
constexpr double kTargetSeconds = 10;
constexpr char kWindowMode[] = "--window-run";
constexpr char kPromptSeen[] = "PROMPT\n";
const char kProgram[] = QUILITE_BINARY_DIR "/app/quilite";
const char kHost[] = QUILITE_BINARY_DIR "/tools/quilite-demohost";

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// --- The window mode, in the child --------------------------------------------------------

bool windowMode = false;

bool screenShows(CQuillonView& view, const char* text) {
    for (int y = 0; y < view.Rows(); ++y) {
        const auto* row = reinterpret_cast<const char*>(view.CharRow(view.ScreenTop() + y));
        if (std::string(row, TWView::kColumns).find(text) != std::string::npos) return true;
    }
    return false;
}

// Looks at the session's screen every 5 ms; says so on standard output when the ID prompt is
// there, and ends the program then or after the time-out.
void watchForPrompt() {
    if (!windowMode) return;
    const auto start = Clock::now();
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [start] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* frame = dynamic_cast<CMainFrame*>(window);
            if (!frame || !frame->Doc()) continue;
            if (screenShows(frame->View(), "login:")) {
                std::fputs(kPromptSeen, stdout);
                std::fflush(stdout);
                frame->EndNow();
            } else if (secondsSince(start) * 1000 > kTimeoutMs) {
                frame->EndNow();
            }
        }
    });
    timer->start(5);
}
Q_COREAPP_STARTUP_FUNCTION(watchForPrompt)

int runWindow(int argc, char** argv) {
    windowMode = true;
    DemoLaunch launch;
    std::string error;
    if (!launch.Start(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return RunGuiProgram(argc, argv, {}, GuiOptions{}, &launch.Entry());
}

// --- The measurements, in the parent ------------------------------------------------------

// Reads fd until `text` arrives: what was read, or "" on its end or after the time-out.
std::string readUntil(int fd, const std::string& text) {
    std::string seen;
    const auto start = Clock::now();
    while (seen.find(text) == std::string::npos) {
        pollfd p{fd, POLLIN, 0};
        const int left = kTimeoutMs - static_cast<int>(secondsSince(start) * 1000);
        if (left <= 0 || poll(&p, 1, left) <= 0) return "";
        char buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return "";
        seen.append(buffer, static_cast<size_t>(n));
    }
    return seen;
}

// A program started with its standard output on a pipe, ended by SIGTERM when it goes.
class Started {
public:
    explicit Started(const std::vector<std::string>& argv) {
        int pipe[2];
        if (pipe2(pipe, O_CLOEXEC) != 0) return;
        pid_ = launcher_.start(argv, "", false, pipe[1]).pid;
        close(pipe[1]);
        output_ = pipe[0];
    }
    ~Started() {
        if (pid_ > 0 && launcher_.wait(pid_, 5000) < 0) {
            kill(pid_, SIGTERM);
            launcher_.wait(pid_, 5000);
        }
        if (output_ >= 0) close(output_);
    }
    std::string ReadUntil(const std::string& text) {
        return pid_ > 0 ? readUntil(output_, text) : "";
    }
    void Stop() {
        if (pid_ > 0) kill(pid_, SIGTERM);
    }

private:
    ProcessLauncher launcher_;
    int pid_ = -1;
    int output_ = -1;
};

// This program in its window mode until it reports the ID prompt on the session's screen.
double windowToPrompt(const std::string& self) {
    const auto start = Clock::now();
    Started window({self, kWindowMode});
    return window.ReadUntil(kPromptSeen).empty() ? -1 : secondsSince(start);
}

// A host started on a free port, and a raw client reading its ID prompt.
double hostToPrompt() {
    const auto start = Clock::now();
    Started host({kHost, "--port", "0"});
    const std::string line = host.ReadUntil("\n");
    const std::string prefix = "LISTEN 127.0.0.1 ";
    if (line.rfind(prefix, 0) != 0) return -1;
    const int fd = connectLoopback(std::atoi(line.c_str() + prefix.size()));
    std::string seen;
    const bool prompt = fd >= 0 && receiveUntil(fd, "login: ", seen, kTimeoutMs);
    const double seconds = secondsSince(start);
    if (fd >= 0) close(fd);
    host.Stop();
    return prompt ? seconds : -1;
}

double tmuxToScreen(const std::string& folder, const std::vector<std::string>& argv,
                    const std::string& text) {
    const std::vector<std::string> env{"HOME=" + folder, "XDG_CONFIG_HOME=" + folder + "/config",
                                       "XDG_DATA_HOME=" + folder + "/data",
                                       "XDG_RUNTIME_DIR=" + folder + "/run", "TMPDIR=" + folder};
    const auto start = Clock::now();
    TmuxSession session(folder, 80, 25, env, argv);
    return session.WaitForScreen(text, kTimeoutMs) ? secondsSince(start) : -1;
}

// Median of kRuns runs of `measure`, or -1 when one failed.
double medianOf(const std::function<double()>& measure) {
    std::vector<double> runs;
    for (int i = 0; i < kRuns; ++i) {
        runs.push_back(measure());
        if (runs.back() < 0) return -1;
    }
    return median(runs);
}

// A private home with a profile already set up, as after the first run.
std::string makeHome() {
    char pattern[] = "/tmp/quilite-demo-start-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    std::filesystem::create_directories(folder + "/run");
    std::filesystem::permissions(folder + "/run", std::filesystem::perms::owner_all);
    ScriptedPrompt prompt;
    std::string error;
    auto registry = openProfileStore(folder + "/config/quilite/profile.db", prompt, error);
    if (registry) runFirstRunSetup(*registry, prompt, dataFolder());
    return folder;
}

bool report(const char* what, double seconds, const char* floorWhat, double floor) {
    if (seconds < 0 || floor < 0) {
        std::printf("%s: no prompt within %d s\n", what, kTimeoutMs / 1000);
        return false;
    }
    std::printf("%-44s %.3f s (median of %d; target at most %.0f s)\n", what, seconds, kRuns,
                kTargetSeconds);
    std::printf("%-44s %.3f s, ratio %.2f\n", floorWhat, floor, seconds / floor);
    return seconds <= kTargetSeconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == kWindowMode) return runWindow(argc, argv);
    const std::string home = makeHome();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        unsetenv(name);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home + "/run").c_str(), 1);
    setenv("TMPDIR", home.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    const double tty = medianOf([&] {
        return tmuxToScreen(home, {kProgram, "--demo", "--tty"}, "login:");
    });
    const double shell = medianOf([&] {
        return tmuxToScreen(home, {"sh", "-c", "printf 'login: '; exec sleep 60"}, "login:");
    });
    const double window = medianOf([&] { return windowToPrompt(ProcessLauncher::ownProgram()); });
    const double host = medianOf(hostToPrompt);
    bool met = report("quilite --demo --tty in tmux, ID prompt:", tty,
                      "  tmux showing a shell's prompt:", shell);
    met &= report("quilite --demo offscreen, ID prompt:", window,
                  "  host started, raw client at the prompt:", host);
    std::filesystem::remove_all(home);
    return met ? 0 : 1;
}
