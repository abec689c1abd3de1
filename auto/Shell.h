#pragma once
// DOS mode: a small command interpreter in the style of a disk operating system prompt over the
// Linux file system. Its output is shown on the terminal screen through the host and never
// sent to the remote host. Command lines and output are CP949, as on the screen.
#include <string>
#include <string_view>
#include <vector>

#include "auto/ShellDrives.h"
#include "auto/ShellHost.h"
#include "auto/ShellWords.h"

class DosShell {
public:
    explicit DosShell(ShellHost& host,
                      const std::vector<ShellDrive>& drives = ShellDrives::defaultTable());

    void RunShellCommand(std::string_view line);
    void ToggleShell();
    void ShellPrint(std::string_view text);
    // Called before each line of a long listing; false: the user asked to stop.
    bool PagerStep();

    bool isOn() const { return on_; }
    const std::string& prompt() const { return prompt_; }
    const ShellDrives& drives() const { return drives_; }

private:
    void runCommand(const ShellCommand& command);
    void setPrompt();
    void startPager(bool paging);
    void printMissingParameter();
    void printHelp();
    void exitShell();
    void changeDirectory(const ShellCommand& command);
    void makeDirectory(const ShellCommand& command);
    void removeDirectory(const ShellCommand& command);
    void renameFile(const ShellCommand& command);
    void typeFile(const std::string& path, bool paging);
    void listDirectory(const ShellCommand& command);
    void startProgram(const ShellCommand& command);
    // The paths a source argument names: itself, or the files its wildcard picks. What is
    // missing is reported.
    std::vector<std::string> sources(const std::string& typed);
    void deleteFiles(const ShellCommand& command);
    void copyFiles(const ShellCommand& command);
    // One source to one destination; false stops the command (cancelled or failed).
    bool transfer(const std::string& source, const std::string& destination, bool move,
                  WaitNotice* wait);
    void reportFailure(const std::string& linuxPath, int error);
    PromptAnswer askUser(const std::string& utf8Text, PromptButtons buttons, PromptIcon icon);
    void tellUser(const std::string& utf8Text);

    ShellHost& host_;
    ShellDrives drives_;
    bool on_ = false;
    std::string prompt_;
    int pagerCount_ = 0;
    bool paging_ = false;
};

// A CP949 text from a UTF-8 literal of ours.
std::string shellText(std::string_view utf8);
bool hasOption(const ShellCommand& command, char letter);
