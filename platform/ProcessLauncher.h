#pragma once
// Starts other programs with an argument vector, never through a shell, and hands documents
// and addresses to the desktop's opener. Started programs run on their own; the launcher
// collects the ones that ended so that none lingers. For the user-interface thread.
#include <string>
#include <vector>

class ProcessLauncher {
public:
    struct Started {
        int pid = -1;   // -1 when the program could not be started
        int error = 0;  // errno of the failure
    };

    ProcessLauncher() = default;
    ProcessLauncher(const ProcessLauncher&) = delete;
    ProcessLauncher& operator=(const ProcessLauncher&) = delete;

    // argv[0] is looked up in PATH unless it holds a slash; folder "" keeps ours. A detached
    // program gets /dev/null for its standard input and output and a session of its own, so
    // it never touches our terminal. outputFd (when not -1) becomes its standard output, for a
    // program whose answer is read from a pipe.
    Started start(const std::vector<std::string>& argv, const std::string& folder = "",
                  bool detached = false, int outputFd = -1);
    // A file, folder or address, opened with xdg-open.
    Started openDocument(const std::string& target) { return start({"xdg-open", target}); }

    // Waits up to timeoutMs for a program started here to end: its exit status (128 + the
    // signal when killed), or -1 when it is still running or not ours.
    int wait(int pid, int timeoutMs);
    // Collects every program started here that has ended.
    void reap();

    // True when start would find the program: a path that is executable, or a name found in
    // PATH or in the folders of extraPath (a colon-separated list).
    static bool programFound(const std::string& name, const std::string& extraPath = "");

    // The running program's own file, to start another copy of it.
    static std::string ownProgram();

private:
    std::vector<int> children_;
};
