// Parsing, the command table's texts, drives and directories, paging and programs.
#include <sys/stat.h>
#include <unistd.h>

#include "tests/shell/ShellFixture.h"

namespace {

using Words = std::vector<std::string>;

TEST(ShellWords, SplitsAsTheOldPrompt) {
    const struct {
        std::string line;
        Words words;
    } cases[] = {
        {"  dir /w/p  a ", {"dir", "/w", "/p", "a"}},
        {"copy \"a  b\" c", {"copy", "a  b", "c"}},
        {"type \"no end  x", {"type", "no end  x"}},
        {"a|b>c<d", {"a", "|b", ">c", "<d"}},
        {"x\"\"y", {"x", "", "y"}},
        {"dir/", {"dir", "/"}},
        // A trail byte 0x5C or 0x7C belongs to its character.
        {"type \x95\x5c.txt \x95\x7c", {"type", "\x95\x5c.txt", "\x95\x7c"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitShellWords(c.line), c.words) << c.line;
}

TEST(ShellWords, ParsesCommandOptionsAndArguments) {
    const struct {
        std::string line;
        std::string word;
        Words options, arguments;
    } cases[] = {
        {"DIR /W *.TXT", "dir", {"/W"}, {"*.TXT"}},
        {"cd..", "cd", {}, {".."}},
        {"CD\\tmp x", "cd", {}, {"\\tmp", "x"}},
        {"/x dir", "", {}, {}},
        {"|dir", "", {}, {}},
        {"   ", "", {}, {}},
        {"\xB0\x41X a", "\xB0\x41x", {}, {"a"}},
    };
    for (const auto& c : cases) {
        const ShellCommand command = parseShellLine(c.line);
        EXPECT_EQ(command.word, c.word) << c.line;
        EXPECT_EQ(command.options, c.options) << c.line;
        EXPECT_EQ(command.arguments, c.arguments) << c.line;
    }
    EXPECT_EQ(splitShellWords(std::string(4096, 'a') + " b").size(), 2u);
}

TEST(ShellWords, MasksIgnoreCaseAndCountCharacters) {
    const struct {
        std::string mask, name;
        bool matches;
    } cases[] = {
        {"*.TXT", "a.txt", true},
        {"*.*", "noext", true},
        {"a?", "a", false},
        {"?.txt", "\xB0\xA1.txt", true},
        {"??.txt", "\xB0\xA1.txt", false},
        {"\xB0\x41", "\xB0\x61", false},
        {"*b*", "aBc", true},
        {"a*c", "abd", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesMask(c.mask, c.name), c.matches) << c.mask << " " << c.name;
}

TEST(ShellNames, ShownPerCharacterWithoutControlBytes) {
    const struct {
        std::string name, shown;
    } cases[] = {
        {"plain.txt", "plain.txt"},       {"한글.txt", "\xC7\xD1\xB1\xDB.txt"}, {"a😀b", "a?b"},
        {"\xB1\xB8.txt", "\xB1\xB8.txt"},  // CP949 bytes stay as they are
        {"a\nb\x1B[2J", "a?b?[2J"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(displayName(c.name), c.shown) << c.name;
}

class ShellCommandTest : public ShellFixture {};

TEST_F(ShellCommandTest, BannerPromptHelpAndExit) {
    shell->ToggleShell();
    const std::string banner = cp949ToUtf8Lossy(host.screen);
    EXPECT_TRUE(banner.starts_with("\r\n반트라 도스 98\t\t\t\t\r\n")) << banner;
    EXPECT_TRUE(banner.ends_with("\r\n\r\nC:\\> ")) << banner;
    EXPECT_EQ(host.inputPrompt, "C:\\> ");
    EXPECT_EQ(run("help"),
              "help\r\n\r\n\tDIR [/W /P] [디렉토리]\r\n\tCD [디렉토리]\r\n\tRD [디렉토리]\r\n"
              "\tMD [디렉토리\r\n\tCOPY 원본 [대상]\r\n\tDEL 파일명\r\n\tMOVE 원본 [대상]\r\n"
              "\tREN 원본 대상\r\n\tTYPE [/P] 파일명\r\n\tMORE 파일명\r\n\tEXIT\r\nC:\\> ");
    EXPECT_EQ(run("exit"), "exit\r\n");
    EXPECT_FALSE(shell->isOn());
    EXPECT_EQ(host.inputPrompt, "");
    shell->ToggleShell();
    shell->ToggleShell();
    EXPECT_FALSE(shell->isOn());
    EXPECT_EQ(host.inputPrompt, "");
}

TEST_F(ShellCommandTest, WithTheShellOffOneCommandEchoesABareLineBreak) {
    write(c + "/a.txt", "x");
    shell->RunShellCommand("dir");
    EXPECT_TRUE(host.screen.starts_with("\r\n  ")) << host.screen;
    EXPECT_TRUE(host.screen.ends_with("\r\n\r\n")) << host.screen;  // no prompt
    EXPECT_FALSE(shell->isOn());
}

TEST_F(ShellCommandTest, PipesAndRedirectionAreRefused) {
    EXPECT_EQ(run("dir | more"), "");
    ASSERT_EQ(host.prompts.asked.size(), 1u);
    EXPECT_EQ(host.prompts.asked[0].text, "파이프(|)와 리디렉트(<>) 명령은 지원되지 않습니다.");
    EXPECT_EQ(host.prompts.asked[0].caption, "도스 명령");
}

TEST_F(ShellCommandTest, DirectoriesAndDrives) {
    std::filesystem::create_directories(c + "/sub/deep");
    std::filesystem::create_directories(c + "/한글");
    std::filesystem::create_directories(d + "/docs");
    std::filesystem::create_directory_symlink(d + "/docs", c + "/out");
    const struct {
        std::string line, prompt;
    } steps[] = {
        {"cd sub", "C:\\sub> "},
        {"cd deep", "C:\\sub\\deep> "},
        {"cd..", "C:\\sub> "},
        {"cd\\", "C:\\> "},
        {"cd ..\\..\\..", "C:\\> "},
        {"cd \\sub\\deep", "C:\\sub\\deep> "},
        {"d:", "D:\\> "},
        {"cd docs", "D:\\docs> "},
        {"C:", "C:\\sub\\deep> "},
        {"x:", "C:\\sub\\deep> "},
        {"cd nosuch", "C:\\sub\\deep> "},
        {"cd \\한글", "C:\\한글> "},
        {"cd \\out", "D:\\docs> "},
        {"cd c:..", "C:\\> "},
        {"cd d:..", "D:\\> "},
        {"cd", "D:\\> "},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(run(step.line), step.line + "\r\n" + step.prompt);
        EXPECT_EQ(promptNow(), step.prompt) << step.line;
    }
}

TEST_F(ShellCommandTest, MakeRemoveAndRename) {
    write(c + "/a.txt", "a");
    write(c + "/b.txt", "b");
    const struct {
        std::string line, output;
    } steps[] = {
        {"md new", ""},
        {"md new", "new 디렉토리를 생성하지 못했습니다.\r\n"},
        {"md x\\y", "x\\y 디렉토리를 생성하지 못했습니다.\r\n"},
        {"rd nosuch", "nosuch 디렉토리를 삭제하지 못했습니다.\r\n"},
        {"md", ""},
        {"ren a.txt", "필요한 매개변수가 빠졌습니다 -\r\n"},
        {"ren a.txt b.txt", ""},
        {"ren a.txt 새.txt", ""},
        {"rd new", ""},
    };
    for (const auto& step : steps)
        EXPECT_EQ(run(step.line), step.line + "\r\n" + step.output + "C:\\> ");
    ASSERT_EQ(host.prompts.asked.size(), 1u);
    EXPECT_EQ(host.prompts.asked[0].text, "b.txt는 이미 존재하는 이름입니다.");
    EXPECT_EQ(read(c + "/b.txt"), "b");
    EXPECT_EQ(read(c + "/새.txt"), "a");
    EXPECT_FALSE(std::filesystem::exists(c + "/new"));
}

TEST_F(ShellCommandTest, PagerPausesPerScreenOrPerFiveScreens) {
    for (int i = 0; i < 10; ++i)
        write(c + "/f" + std::to_string(i), "");
    // 10 entries and 2 total lines: 12 steps.
    const struct {
        int rows;
        std::string line;
        size_t pauses;
    } cases[] = {{4, "dir /p", 3}, {4, "dir", 0}, {2, "dir", 2}, {1, "dir /p", 11}};
    for (const auto& c : cases) {
        host.rows = c.rows;
        host.prompts.asked.clear();
        run(c.line);
        EXPECT_EQ(host.prompts.asked.size(), c.pauses) << c.rows << " " << c.line;
    }
    EXPECT_EQ(host.prompts.asked[0].text, "계속하려면 엔터를 누르십시오.");
    EXPECT_EQ(host.prompts.asked[0].buttons, PromptButtons::OkCancel);
    host.rows = 4;
    host.prompts.expect(PromptAnswer::Cancel);
    const std::string out = run("dir /p");
    EXPECT_TRUE(out.ends_with("f2\r\nC:\\> ")) << out;
}

TEST_F(ShellCommandTest, ProgramsGetAnArgumentVectorAndTheFolder) {
    const std::string program = c + "/args.sh";
    write(program, "#!/bin/sh\n{ pwd; for a; do echo \"[$a]\"; done; } > " + root + "/args\n");
    chmod(program.c_str(), 0755);
    std::filesystem::create_directories(c + "/sub");
    run("cd sub");
    EXPECT_EQ(run("\\args.sh \"a  b\" c;d $(touch p0) /x"),
              "\\args.sh \"a  b\" c;d $(touch p0) /x\r\nC:\\sub> ");
    EXPECT_EQ(read(root + "/args"), c + "/sub\n[a  b]\n[c;d]\n[$(touch]\n[p0)]\n");
    run("echo $(touch p1)");
    run("true;touch p2");
    for (const char* name : {"p0", "p1", "p2"})
        EXPECT_FALSE(std::filesystem::exists(c + "/sub/" + name)) << name;
    run("no-such-program-here");
    ASSERT_EQ(host.prompts.asked.size(), 2u);  // "true;touch" and this one
    EXPECT_NE(host.prompts.asked[1].text.find("No such file"), std::string::npos);
}

}  // namespace

namespace {

// A document or a folder as the command word goes to the desktop's opener (here a stand-in
// first on PATH that records its arguments and folder); a program that cannot start is told
// why.
TEST_F(ShellCommandTest, DocumentsAndFoldersGoToTheOpener) {
    const std::string bin = root + "/bin";
    std::filesystem::create_directories(bin);
    write(bin + "/xdg-open",
          "#!/bin/sh\n{ pwd; for a; do echo \"[$a]\"; done; } >> " + root + "/opened\n");
    chmod((bin + "/xdg-open").c_str(), 0755);
    const std::string path = getenv("PATH");
    setenv("PATH", (bin + ":" + path).c_str(), 1);
    write(c + "/readme.txt", "text");
    std::filesystem::create_directories(c + "/sub folder");
    write(c + "/junk", "neither a script nor a program");
    chmod((c + "/junk").c_str(), 0755);

    run("readme.txt");
    run("\"sub folder\"");
    run("junk");
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(read(root + "/opened"),
              c + "\n[" + c + "/readme.txt]\n" + c + "\n[" + c + "/sub folder]\n");
    ASSERT_EQ(host.prompts.asked.size(), 1u);
    EXPECT_EQ(host.prompts.asked[0].text,
              "junk: 프로그램을 실행하지 못했습니다.\nExec format error");
    EXPECT_EQ(host.prompts.asked[0].caption, "도스 명령");
}

}  // namespace
