// quilite-dos: the built-in command shell on standard input and output. Command lines are
// read as UTF-8; output is UTF-8 (or CP949 with --cp949). Message boxes and the answers taken
// go to standard error; programs started run in the foreground and are waited for.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "auto/Shell.h"
#include "platform/ProgramHelp.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"

namespace {

const char* const kUsage =
    "usage: quilite-dos [--rows R] [--drive X=DIR]... [--answers LIST] [--cp949]\n"
    "  --rows R          text rows of the screen, for paging (default 25)\n"
    "  --drive X=DIR     drive letter X stands for folder DIR (default C:=/ and D:=home)\n"
    "  --answers LIST    answers to the questions, in order, comma-separated:\n"
    "                    ok, cancel, yes, no (then: the first button)\n"
    "  --cp949           write CP949 instead of UTF-8\n";

const char* answerName(PromptAnswer answer) {
    switch (answer) {
        case PromptAnswer::Ok:
            return "ok";
        case PromptAnswer::Cancel:
            return "cancel";
        case PromptAnswer::Yes:
            return "yes";
        case PromptAnswer::No:
            return "no";
    }
    return "";
}

// Answers from the list and reports each question with its answer on standard error.
class ReportingPrompt : public Prompt {
public:
    ScriptedPrompt script;

    PromptReply show(const PromptRequest& request) override {
        const PromptReply reply = script.show(request);
        std::cerr << "[" << request.caption << "] " << request.text << " -> "
                  << answerName(reply.answer) << "\n";
        return reply;
    }
    std::unique_ptr<WaitNotice> beginWait(const std::string& text, int delayMs) override {
        return script.beginWait(text, delayMs);
    }
};

class StdioHost : public ShellHost {
public:
    int rows = 25;
    bool cp949 = false;
    ReportingPrompt reporting;

    void showLocal(std::string_view text) override {
        const std::string out = cp949 ? std::string(text) : cp949ToUtf8Lossy(text);
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    int textRows() override { return rows; }
    void setInputPrompt(std::string_view) override {}
    Prompt& prompt() override { return reporting; }
    ProcessLauncher::Started startProgram(const std::vector<std::string>& argv,
                                          const std::string& folder) override {
        std::fflush(stdout);
        const ProcessLauncher::Started started = launcher_.start(argv, folder);
        if (started.pid >= 0) launcher_.wait(started.pid, -1);
        return started;
    }

private:
    ProcessLauncher launcher_;
};

bool parseAnswers(const std::string& list, ScriptedPrompt& script) {
    size_t at = 0;
    while (at <= list.size()) {
        const size_t end = std::min(list.find(',', at), list.size());
        const std::string word = list.substr(at, end - at);
        bool known = false;
        for (PromptAnswer answer :
             {PromptAnswer::Ok, PromptAnswer::Cancel, PromptAnswer::Yes, PromptAnswer::No}) {
            if (word == answerName(answer)) {
                script.expect(answer);
                known = true;
            }
        }
        if (!known) return false;
        at = end + 1;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (printHelpIfAsked(argc, argv, kUsage)) return 0;
    StdioHost host;
    std::vector<ShellDrive> drives;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--rows" && hasValue) {
            host.rows = std::atoi(argv[++i]);
        } else if (arg == "--drive" && hasValue && std::strlen(argv[i + 1]) > 2 &&
                   argv[i + 1][1] == '=') {
            const std::string value = argv[++i];
            drives.push_back({static_cast<char>(std::toupper(value[0])), value.substr(2)});
        } else if (arg == "--answers" && hasValue &&
                   parseAnswers(argv[i + 1], host.reporting.script)) {
            ++i;
        } else if (arg == "--cp949") {
            host.cp949 = true;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    DosShell shell(host, drives.empty() ? ShellDrives::defaultTable() : drives);
    if (shell.drives().empty()) {
        std::cerr << "quilite-dos: no drive folder exists\n";
        return 2;
    }
    shell.ToggleShell();
    std::string line;
    while (shell.isOn() && std::getline(std::cin, line)) {
        if (line.ends_with('\r')) line.pop_back();
        shell.RunShellCommand(utf8ToCp949Lossy(line));
    }
    std::fflush(stdout);
    return 0;
}
