#include "auto/Shell.h"

#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/TextCodec.h"

namespace {

const char* const kCaption = "도스 명령";

// Fills a printf-style CP949 format; every argument is already CP949.
template <typename... Args>
std::string formatted(std::string_view utf8Format, Args... args) {
    const std::string format = shellText(utf8Format);
    const int size = snprintf(nullptr, 0, format.c_str(), args...);
    std::string out(static_cast<size_t>(std::max(size, 0)), '\0');
    snprintf(out.data(), out.size() + 1, format.c_str(), args...);
    return out;
}

bool isDriveChange(std::string_view line) {
    return line.size() == 2 && line[1] == ':' && std::isalpha(static_cast<unsigned char>(line[0]));
}

}  // namespace

std::string shellText(std::string_view utf8) {
    return utf8ToCp949Lossy(utf8);
}

bool hasOption(const ShellCommand& command, char letter) {
    for (const std::string& option : command.options)
        if (option.size() == 2 && std::tolower(static_cast<unsigned char>(option[1])) == letter)
            return true;
    return false;
}

DosShell::DosShell(ShellHost& host, const std::vector<ShellDrive>& drives)
    : host_(host), drives_(drives) {}

void DosShell::ShellPrint(std::string_view text) {
    host_.showLocal(text);
}

PromptAnswer DosShell::askUser(const std::string& utf8Text, PromptButtons buttons,
                               PromptIcon icon) {
    PromptRequest request;
    request.text = utf8Text;
    request.buttons = buttons;
    request.icon = icon;
    request.caption = kCaption;
    return host_.prompt().show(request).answer;
}

void DosShell::tellUser(const std::string& utf8Text) {
    askUser(utf8Text, PromptButtons::Ok, PromptIcon::Warning);
}

void DosShell::setPrompt() {
    prompt_ = drives_.dosDirectory() + "> ";
    host_.setInputPrompt(prompt_);
}

void DosShell::RunShellCommand(std::string_view line) {
    const ShellCommand command = parseShellLine(line);
    for (const std::string& option : command.options) {
        if (option[0] != '/') {
            tellUser("파이프(|)와 리디렉트(<>) 명령은 지원되지 않습니다.");
            return;
        }
    }
    if (command.word.empty()) {
        on_ = true;
        ShellPrint(
            shellText("\r\n반트라 도스 98\t\t\t\t\r\n"
                      "리눅스 파일 시스템의 명령 셸입니다. 명령 목록은 HELP.\r\n\r\n"));
        setPrompt();
        ShellPrint(prompt_);
        return;
    }
    ShellPrint(on_ ? std::string(line) + "\r\n" : std::string("\r\n"));
    runCommand(command);
    if (command.word != "exit" && on_) {
        setPrompt();
        ShellPrint(prompt_);
    }
}

void DosShell::ToggleShell() {
    if (on_) {
        exitShell();
    } else {
        RunShellCommand("");
    }
}

void DosShell::exitShell() {
    on_ = false;
    prompt_.clear();
    host_.setInputPrompt("");
}

void DosShell::runCommand(const ShellCommand& command) {
    const std::string& word = command.word;
    const std::vector<std::string>& args = command.arguments;
    if (isDriveChange(command.typedWord) && args.empty()) {
        drives_.changeDrive(command.typedWord[0]);
    } else if (word == "dir") {
        listDirectory(command);
    } else if (word == "cd") {
        changeDirectory(command);
    } else if (word == "md" || word == "mkdir") {
        makeDirectory(command);
    } else if (word == "rd" || word == "rmdir") {
        removeDirectory(command);
    } else if (word == "ren" || word == "rename") {
        renameFile(command);
    } else if (word == "type" || word == "more") {
        if (!args.empty())
            typeFile(drives_.resolve(args[0]), word == "more" || hasOption(command, 'p'));
    } else if (word == "del" || word == "deltree") {
        deleteFiles(command);
    } else if (word == "copy" || word == "move") {
        copyFiles(command);
    } else if (word == "help") {
        printHelp();
    } else if (word == "exit") {
        exitShell();
    } else {
        startProgram(command);
    }
}

void DosShell::printMissingParameter() {
    ShellPrint(shellText("필요한 매개변수가 빠졌습니다 -\r\n"));
}

void DosShell::printHelp() {
    static const char* const lines[] = {
        "\r\n",
        "\tDIR [/W /P] [디렉토리]\r\n",
        "\tCD [디렉토리]\r\n",
        "\tRD [디렉토리]\r\n",
        "\tMD [디렉토리\r\n",
        "\tCOPY 원본 [대상]\r\n",
        "\tDEL 파일명\r\n",
        "\tMOVE 원본 [대상]\r\n",
        "\tREN 원본 대상\r\n",
        "\tTYPE [/P] 파일명\r\n",
        "\tMORE 파일명\r\n",
        "\tEXIT\r\n",
    };
    for (const char* line : lines)
        ShellPrint(shellText(line));
}

void DosShell::changeDirectory(const ShellCommand& command) {
    if (!command.arguments.empty()) drives_.changeDirectory(command.arguments[0]);
}

void DosShell::makeDirectory(const ShellCommand& command) {
    if (command.arguments.empty()) return;
    const std::string& name = command.arguments[0];
    if (mkdir(drives_.resolve(name).c_str(), 0777) != 0)
        ShellPrint(formatted("%s 디렉토리를 생성하지 못했습니다.\r\n", name.c_str()));
}

void DosShell::removeDirectory(const ShellCommand& command) {
    if (command.arguments.empty()) return;
    const std::string& name = command.arguments[0];
    if (rmdir(drives_.resolve(name).c_str()) != 0)
        ShellPrint(formatted("%s 디렉토리를 삭제하지 못했습니다.\r\n", name.c_str()));
}

void DosShell::renameFile(const ShellCommand& command) {
    if (command.arguments.size() < 2) {
        printMissingParameter();
        return;
    }
    const std::string source = drives_.resolve(command.arguments[0]);
    const std::string target = drives_.resolve(command.arguments[1]);
    struct stat st;
    if (lstat(target.c_str(), &st) == 0) {
        tellUser(cp949ToUtf8Lossy(command.arguments[1]) + "는 이미 존재하는 이름입니다.");
        return;
    }
    // Never replaces a file that appeared since the check.
    renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
}

void DosShell::startPager(bool paging) {
    pagerCount_ = 0;
    paging_ = paging;
}

bool DosShell::PagerStep() {
    const int screen = std::max(1, host_.textRows() - 1);
    const int page = paging_ ? screen : 5 * screen;
    if (pagerCount_ > 0 && pagerCount_ % page == 0) {
        if (askUser("계속하려면 엔터를 누르십시오.", PromptButtons::OkCancel,
                    PromptIcon::Information) != PromptAnswer::Ok)
            return false;
    }
    ++pagerCount_;
    return true;
}
