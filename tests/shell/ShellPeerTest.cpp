// The shell against coreutils, findutils, glibc iconv and convmv on the same tree, and the
// quilite-dos tool on standard input.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <regex>
#include <sstream>

#include "platform/Trash.h"
#include "tests/shell/ShellFixture.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A name as the listing shows it: UTF-8 names converted to CP949, others as they are.
std::string shownName(const std::string& name) {
    return utf8ToCp949(name).value_or(name);
}

// A new folder on /dev/shm when that is a writable file system other than the one holding
// near; "" when it is not.
std::string folderOnAnotherFileSystem(const std::string& near) {
    struct stat home, shm;
    if (stat(near.c_str(), &home) != 0 || stat("/dev/shm", &shm) != 0 ||
        home.st_dev == shm.st_dev || access("/dev/shm", W_OK) != 0)
        return {};
    char pattern[] = "/dev/shm/quilite-shell-XXXXXX";
    return mkdtemp(pattern) ? pattern : "";
}

class ShellPeerTest : public ShellFixture {
protected:
    // Names of one kind (find's %y) of folder, ordered as `LC_ALL=C sort -f` orders their
    // shown forms, each with its find line "date time size".
    std::vector<std::pair<std::string, std::string>> findListing(const std::string& folder,
                                                                 char kind) {
        const std::string found =
            capture("cd '" + folder + "' && find . -mindepth 1 -maxdepth 1 ! -name '.*' -printf " +
                    "'%y|%Tm-%Td-%Ty  %TH:%TM %s|%f\\n'");
        std::string names;
        std::map<std::string, std::string> lineOf;
        for (const std::string& line : linesOf(found)) {
            if (line[0] != kind) continue;
            const size_t nameAt = line.find('|', 2) + 1;
            const std::string shown = shownName(line.substr(nameAt));
            lineOf[shown] = line.substr(2, nameAt - 3);
            names += shown + "\n";
        }
        write(root + "/names", names);
        std::vector<std::pair<std::string, std::string>> sorted;
        for (const std::string& name : linesOf(capture("LC_ALL=C sort -f " + root + "/names")))
            sorted.emplace_back(name, lineOf[name]);
        return sorted;
    }

    static std::string listingLine(const std::string& name, const std::string& findLine,
                                   bool directory) {
        const size_t sizeAt = findLine.rfind(' ');
        const std::string digits = findLine.substr(sizeAt + 1);
        std::string size = directory ? "<DIR>  " : "";
        for (size_t i = 0; !directory && i < digits.size(); ++i)
            size += (i > 0 && (digits.size() - i) % 3 == 0 ? "," : "") + digits.substr(i, 1);
        char head[64];
        snprintf(head, sizeof head, "%s %15s  ", findLine.substr(0, sizeAt).c_str(), size.c_str());
        return head + name + "\r\n";
    }
};

TEST_F(ShellPeerTest, DirEqualsTheListingOfFindAndSort) {
    for (const char* folder : {"Beta", "alpha", "한글폴더", ".hidden"})
        std::filesystem::create_directories(c + "/data/" + folder);
    for (const char* file : {"b.txt", "A.TXT", "_under", "한글.txt", "[x]", ".dot", "가나.dat"})
        write(c + "/data/" + file, std::string(std::strlen(file) * 7, 'x'));
    truncate((c + "/data/b.txt").c_str(), 1234567890123);
    // convmv gives one name in CP949 bytes.
    capture("cd '" + c + "/data' && convmv -f utf8 -t cp949 --notest 가나.dat 2>&1");
    ASSERT_TRUE(std::filesystem::exists(c + "/data/" + cp949("가나.dat")));

    const std::string out = cp949ToUtf8Lossy([&] {
        run("dir data");
        return host.screen;
    }());
    std::string expected = "dir data\r\n  디렉토리 C:\\data\r\n\r\n";
    for (const auto& [name, line] : findListing(c + "/data", 'd'))
        expected += cp949ToUtf8Lossy(listingLine(name, line, true));
    for (const auto& [name, line] : findListing(c + "/data", 'f'))
        expected += cp949ToUtf8Lossy(listingLine(name, line, false));
    expected += "         6개 파일     1,234,567,890,361 바이트\r\n";
    ASSERT_TRUE(out.starts_with(expected)) << out << "\n---\n" << expected;
    EXPECT_TRUE(std::regex_match(out.substr(expected.size()),
                                 std::regex("         3개 디렉토리 +[0-9,]+ 바이트 사용가능\r\n"
                                            "\r\nC:\\\\> ")))
        << out;
    const std::string free = capture("stat -f -c '%a*%S' '" + c + "'");
    EXPECT_FALSE(free.empty());

    // Masks pick what find -iname picks; "*.*" is every name.
    for (const std::string mask : {"*.txt", "?.TXT", "*A*", "*.DAT", "*.*"}) {
        host.screen.clear();
        run("dir data\\" + mask);
        const std::string found = capture(
            "cd '" + c + "/data' && LC_ALL=C.UTF-8 find . -mindepth 1 " +
            "-maxdepth 1 ! -name '.*' -iname '" + (mask == "*.*" ? "*" : mask) + "' | wc -l");
        const std::string listing = cp949ToUtf8Lossy(host.screen);
        size_t listed = 0;
        for (const std::string& line : linesOf(listing))
            listed += std::regex_search(line, std::regex("^\\d\\d-\\d\\d-\\d\\d  ")) ? 1 : 0;
        EXPECT_EQ(listed, std::stoul(found)) << mask << "\n" << listing;
    }
    // Nothing found: no header, no totals.
    EXPECT_EQ(run("dir data\\*.none"), "dir data\\*.none\r\nC:\\> ");
}

TEST_F(ShellPeerTest, TypeEqualsIconvWithCrLfEnds) {
    const std::string text = "첫 줄\r\nascii line\n\n한글 끝\r\nlast without end";
    write(c + "/t.txt", text);
    host.screen.clear();
    shell->ToggleShell();
    host.screen.clear();
    shell->RunShellCommand("type t.txt");
    const std::string expected = capture(
        "{ cat '" + c + "/t.txt'; echo; } | sed 's/\\r$//; s/$/\\r/' | iconv -f UTF-8 -t CP949");
    EXPECT_EQ(host.screen, "type t.txt\r\n" + expected + "C:\\> ");
    write(c + "/emoji.txt", "a😀b");
    EXPECT_EQ(run("type emoji.txt"), "type emoji.txt\r\na?b\r\nC:\\> ");

    // A CP949 file and a CP949 name (convmv) print as they are.
    write(c + "/구.txt", cp949("옛 글\n"));
    capture("cd '" + c + "' && convmv -f utf8 -t cp949 --notest 구.txt 2>&1");
    EXPECT_EQ(run("type 구.txt"), "type 구.txt\r\n옛 글\r\nC:\\> ");
    EXPECT_EQ(run("ren 구.txt 새.txt"), "ren 구.txt 새.txt\r\nC:\\> ");
    EXPECT_EQ(read(c + "/새.txt"), cp949("옛 글\n"));

    // Only regular files: a FIFO or a folder prints nothing and never blocks.
    mkfifo((c + "/fifo").c_str(), 0600);
    EXPECT_EQ(run("type fifo"), "type fifo\r\nC:\\> ");
    EXPECT_EQ(run("more \\"), "more \\\r\nC:\\> ");
}

TEST_F(ShellPeerTest, QuiliteDosListsAndHelpsOnStandardInput) {
    write(c + "/readme.txt", "hello");
    const std::string out =
        capture("printf 'dir\\nhelp\\nmd a\\nmd a\\nrd nosuch | x\\n' | " +
                std::string(QUILITE_BINARY_DIR) + "/tools/quilite-dos --drive C=" + c + " 2>&1");
    EXPECT_TRUE(out.starts_with("\r\n반트라 도스 98\t\t\t\t\r\n")) << out;
    EXPECT_NE(out.find("C:\\> dir\r\n  디렉토리 C:\\\r\n\r\n"), std::string::npos) << out;
    EXPECT_TRUE(
        std::regex_search(out, std::regex("\\d\\d:\\d\\d +5  readme.txt\r\n"
                                          "         1개 파일                    5 바이트\r\n"
                                          "         0개 디렉토리 +[0-9,]+ 바이트 사용가능\r\n"
                                          "\r\nC:\\\\> help\r\n\r\n\tDIR \\[/W /P\\]")))
        << out;
    EXPECT_NE(out.find("\tMD [디렉토리\r\n"), std::string::npos);
    EXPECT_NE(out.find("C:\\> md a\r\nC:\\> md a\r\na 디렉토리를 생성하지 못했습니다.\r\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("[도스 명령] 파이프(|)와 리디렉트(<>) 명령은 지원되지 않습니다. -> ok"),
              std::string::npos)
        << out;
    EXPECT_TRUE(std::filesystem::is_directory(c + "/a"));
}

}  // namespace

namespace {

class ShellTrashTest : public ShellFixture {
protected:
    ShellTrashTest() { setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1); }
};

TEST_F(ShellTrashTest, DelSendsToTheTrashAndTrashCliRestores) {
    write(c + "/keep.dat", "keep");
    write(c + "/c.txt", "third");
    write(c + "/a.txt", "first file");
    write(c + "/b.TXT", "second");
    std::filesystem::create_directories(c + "/tree/sub");
    write(c + "/tree/sub/x", "x");
    write(c + "/구.txt", "old name");
    capture("cd '" + c + "' && convmv -f utf8 -t cp949 --notest 구.txt 2>&1");

    EXPECT_EQ(run("del"), "del\r\n필요한 매개변수가 빠졌습니다 -\r\nC:\\> ");
    EXPECT_EQ(run("deltree"), "deltree\r\nC:\\> ");
    host.prompts.expect(PromptAnswer::No);
    EXPECT_EQ(run("del a.txt"), "del a.txt\r\nC:\\> ");
    EXPECT_EQ(run("del a.txt"), "del a.txt\r\nDeleting a.txt\r\nC:\\> ");
    EXPECT_EQ(run("del *.txt"), "del *.txt\r\nDeleting *.txt\r\nC:\\> ");
    EXPECT_EQ(run("deltree tree"), "deltree tree\r\nDeleting tree\r\nC:\\> ");
    EXPECT_EQ(run("del none.txt"), "del none.txt\r\nnone.txt: No such file or directory\r\nC:\\> ");
    ASSERT_EQ(host.prompts.asked.size(), 4u);
    EXPECT_EQ(host.prompts.asked[0].text, "'C:\\a.txt'을(를) 휴지통으로 보내시겠습니까?");
    EXPECT_EQ(host.prompts.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(host.prompts.asked[2].text, "이 3개 항목을 휴지통으로 보내시겠습니까?");
    EXPECT_FALSE(std::filesystem::exists(c + "/a.txt"));
    EXPECT_FALSE(std::filesystem::exists(c + "/tree"));
    EXPECT_TRUE(std::filesystem::exists(c + "/keep.dat"));
    const std::string listed = capture("XDG_DATA_HOME='" + root + "/data' trash-list");
    for (const std::string name : {"/a.txt", "/b.TXT", "/c.txt", "/tree"})
        EXPECT_NE(listed.find(c + name), std::string::npos) << name << "\n" << listed;

    // A CP949 name: the information file keeps its bytes.
    const std::string info = read(root + "/data/Trash/info/" + cp949("구.txt") + ".trashinfo");
    EXPECT_NE(info.find("Path=" + c + "/%B1%B8.txt\n"), std::string::npos) << info;

    capture("cd '" + c + "' && echo 0 | XDG_DATA_HOME='" + root + "/data' trash-restore '" + c +
            "/tree' >/dev/null 2>&1");
    EXPECT_EQ(read(c + "/tree/sub/x"), "x");
    capture("cd '" + c + "' && echo 0 | XDG_DATA_HOME='" + root + "/data' trash-restore '" + c +
            "/a.txt' >/dev/null 2>&1");
    EXPECT_EQ(read(c + "/a.txt"), "first file");
}

// The trash of another file system's top folder: the shared .Trash only when it is a real
// folder with the sticky bit.
TEST_F(ShellTrashTest, TopDirectoryTrashFollowsTheSharedFolderRules) {
    const std::string uid = std::to_string(getuid());
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
        const char* trash;
    };
    const Case cases[] = {
        {"no .Trash", [](const std::string&) {}, "/.Trash-"},
        {"sticky .Trash",
         [](const std::string& top) {
             mkdir((top + "/.Trash").c_str(), 0777);
             chmod((top + "/.Trash").c_str(), 01777);
         },
         "/.Trash/"},
        {"no sticky bit", [](const std::string& top) { mkdir((top + "/.Trash").c_str(), 0777); },
         "/.Trash-"},
        {"a link to a sticky folder",
         [](const std::string& top) {
             mkdir((top + "/sticky").c_str(), 0777);
             chmod((top + "/sticky").c_str(), 01777);
             symlink("sticky", (top + "/.Trash").c_str());
         },
         "/.Trash-"},
        {"a file", [](const std::string& top) { write(top + "/.Trash", ""); }, "/.Trash-"},
    };
    int n = 0;
    for (const Case& one : cases) {
        const std::string top = root + "/top" + std::to_string(n++);
        std::filesystem::create_directories(top);
        one.make(top);
        EXPECT_EQ(topDirectoryTrash(top), top + one.trash + uid) << one.what;
    }
    EXPECT_TRUE(std::filesystem::is_directory(root + "/top1/.Trash/" + uid));
}

// A file system other than the home one (/dev/shm, a tmpfs, when it is one): `del` and
// `deltree` reach its own trash, where trash-cli lists and restores the items.
TEST_F(ShellTrashTest, AnotherFileSystemHasItsOwnTrash) {
    const std::string other = folderOnAnotherFileSystem(root);
    if (other.empty())
        GTEST_SKIP() << "/dev/shm is not a writable file system other than the one of " << root;
    const std::string relative = other.substr(std::strlen("/dev/shm/"));
    const std::string trash = topDirectoryTrash("/dev/shm");
    write(other + "/a.txt", "on another file system");
    std::filesystem::create_directories(other + "/tree/sub");
    write(other + "/tree/sub/x", "x");
    shell = std::make_unique<DosShell>(host, std::vector<ShellDrive>{{'C', other}});

    EXPECT_EQ(run("del a.txt"), "del a.txt\r\nDeleting a.txt\r\nC:\\> ");
    EXPECT_EQ(run("deltree tree"), "deltree tree\r\nDeleting tree\r\nC:\\> ");
    EXPECT_FALSE(std::filesystem::exists(other + "/a.txt"));
    EXPECT_FALSE(std::filesystem::exists(other + "/tree"));
    // Each information file names its item relative to the file system's top.
    std::vector<std::string> infos;
    for (const auto& entry : std::filesystem::directory_iterator(trash + "/info")) {
        const std::string info = read(entry.path());
        if (info.find("\nPath=" + relative + "/") == std::string::npos) continue;
        infos.push_back(entry.path());
        EXPECT_TRUE(info.starts_with("[Trash Info]\nPath=" + relative + "/")) << info;
    }
    EXPECT_EQ(infos.size(), 2u);
    const std::string listed = capture("XDG_DATA_HOME='" + root + "/data' trash-list");
    for (const char* name : {"/a.txt", "/tree"})
        EXPECT_NE(listed.find(other + name), std::string::npos) << name << "\n" << listed;

    for (const char* name : {"/a.txt", "/tree"})
        capture("cd '" + other + "' && echo 0 | XDG_DATA_HOME='" + root + "/data' trash-restore '" +
                other + name + "' >/dev/null 2>&1");
    EXPECT_EQ(read(other + "/a.txt"), "on another file system");
    EXPECT_EQ(read(other + "/tree/sub/x"), "x");
    // Whatever trash-restore left behind goes, so that the shared trash keeps nothing of ours.
    for (const std::string& info : infos) {
        const std::string name = std::filesystem::path(info).stem();
        std::filesystem::remove(info);
        std::filesystem::remove_all(trash + "/files/" + name);
    }
    std::filesystem::remove_all(other);
}

}  // namespace

namespace {

class ShellCopyTest : public ShellFixture {
protected:
    // A tree with a subfolder, a link, modes and old times, in folder.
    void makeTree(const std::string& folder) {
        std::filesystem::create_directories(folder + "/sub/deeper");
        write(folder + "/one.txt", "one");
        write(folder + "/two.TXT", std::string(3 << 20, 't'));
        write(folder + "/sub/deeper/x.bin", "x");
        chmod((folder + "/one.txt").c_str(), 0640);
        chmod((folder + "/sub").c_str(), 0750);
        std::filesystem::create_symlink("one.txt", folder + "/link");
        capture("find '" + folder + "' -mindepth 1 -exec touch -h -d '2011-12-13 14:15:16.5' {} +");
        capture("touch -h -d '2001-02-03 04:05:06.789' '" + folder + "/one.txt' '" + folder +
                "/link' '" + folder + "/sub'");
    }
    std::string treeOf(const std::string& folder) {
        return capture("cd '" + folder +
                       "' && find . -mindepth 1 -printf '%P %s %m %T@ %y %l\\n' | sort");
    }
};

TEST_F(ShellCopyTest, CopyAndMoveEqualCpAndMvOnATwinTree) {
    makeTree(c + "/src");
    makeTree(c + "/twin");
    std::filesystem::create_directories(c + "/ours");
    std::filesystem::create_directories(c + "/theirs");
    run("cd src");
    EXPECT_EQ(run("copy *.txt \\ours"), "copy *.txt \\ours\r\nC:\\src> ");
    EXPECT_EQ(run("copy sub \\ours\\sub"), "copy sub \\ours\\sub\r\nC:\\src> ");
    EXPECT_EQ(run("copy link \\ours"), "copy link \\ours\r\nC:\\src> ");
    capture("cd '" + c +
            "/twin' && cp -R --preserve=mode,timestamps one.txt two.TXT sub link ../theirs");
    EXPECT_EQ(treeOf(c + "/ours"), treeOf(c + "/theirs"));
    EXPECT_EQ(capture("diff -r '" + c + "/ours' '" + c + "/theirs' && echo same"), "same\n");

    // One file to a new name; an existing one is asked about.
    EXPECT_EQ(run("copy one.txt new.txt"), "copy one.txt new.txt\r\nC:\\src> ");
    host.prompts.expect(PromptAnswer::No);
    run("copy two.TXT new.txt");
    EXPECT_EQ(read(c + "/src/new.txt"), "one");
    run("copy two.TXT new.txt");
    EXPECT_EQ(read(c + "/src/new.txt").size(), 3u << 20);
    ASSERT_EQ(host.prompts.asked.size(), 2u);
    EXPECT_EQ(host.prompts.asked[0].text, "C:\\src\\new.txt 파일이 이미 있습니다. 바꾸시겠습니까?");

    // Onto itself, into itself, too many words, several sources onto a file.
    EXPECT_EQ(run("copy one.txt"),
              "copy one.txt\r\nC:\\src\\one.txt: 원본과 대상이 같은 파일입니다.\r\nC:\\src> ");
    EXPECT_EQ(run("copy \\src sub"),
              "copy \\src sub\r\nC:\\src\\sub\\src: 폴더를 그 자신 안으로 복사할 수 "
              "없습니다.\r\nC:\\src> ");
    EXPECT_EQ(run("copy a b c"), "copy a b c\r\n필요한 매개변수가 빠졌습니다 -\r\nC:\\src> ");
    EXPECT_EQ(run("move"), "move\r\n필요한 매개변수가 빠졌습니다 -\r\nC:\\src> ");
    EXPECT_EQ(run("copy *.txt one.txt"),
              "copy *.txt one.txt\r\none.txt: Not a directory\r\nC:\\src> ");

    // move renames, as mv does.
    run("cd \\");
    std::filesystem::create_directories(c + "/moved");
    std::filesystem::create_directories(c + "/mvtwin");
    EXPECT_EQ(run("move src \\moved"), "move src \\moved\r\nC:\\> ");
    capture("cd '" + c + "' && mv twin mvtwin");
    EXPECT_FALSE(std::filesystem::exists(c + "/src"));
    std::filesystem::remove(c + "/moved/src/new.txt");
    EXPECT_EQ(treeOf(c + "/moved/src"), treeOf(c + "/mvtwin/twin"));
}

// Onto another file system the kernel refuses to copy ranges, and the copy reads and writes.
TEST_F(ShellCopyTest, CopyAndMoveOntoAnotherFileSystemEqualCpAndMv) {
    const std::string other = folderOnAnotherFileSystem(root);
    if (other.empty())
        GTEST_SKIP() << "/dev/shm is not a writable file system other than the one of " << root;
    makeTree(c + "/src");
    makeTree(c + "/twin");
    shell = std::make_unique<DosShell>(host, std::vector<ShellDrive>{{'C', c}, {'D', other}});
    std::filesystem::create_directories(other + "/ours");
    std::filesystem::create_directories(other + "/theirs");
    EXPECT_EQ(run("copy src D:\\ours\\src"), "copy src D:\\ours\\src\r\nC:\\> ");
    capture("cp -R --preserve=mode,timestamps '" + c + "/twin' '" + other + "/theirs/src'");
    EXPECT_EQ(treeOf(other + "/ours/src"), treeOf(other + "/theirs/src"));
    EXPECT_EQ(capture("diff -r '" + other + "/ours' '" + other + "/theirs' && echo same"),
              "same\n");
    EXPECT_EQ(run("move src D:\\moved"), "move src D:\\moved\r\nC:\\> ");
    capture("mv '" + c + "/twin' '" + other + "/mvtwin'");
    EXPECT_FALSE(std::filesystem::exists(c + "/src"));
    EXPECT_EQ(treeOf(other + "/moved"), treeOf(other + "/mvtwin"));
    std::filesystem::remove_all(other);
}

TEST_F(ShellCopyTest, ACancelledCopyRemovesItsPartialFile) {
    write(c + "/big", std::string(20 << 20, 'b'));  // three pieces for the kernel to copy
    host.prompts.cancelWaitsAfter(2);
    EXPECT_EQ(run("copy big big2"), "copy big big2\r\nC:\\> ");
    EXPECT_FALSE(std::filesystem::exists(c + "/big2"));
}

}  // namespace

namespace {

// The same session of directory and file commands on upper-case short names, in DOSBox (its
// own command shell over two mounted folders) and in ours over a twin pair of folders.
class ShellDosBoxTest : public ShellFixture {};

TEST_F(ShellDosBoxTest, DosBoxEndsInTheSameDirectoryAndTree) {
    if (!ProcessLauncher::programFound("dosbox")) GTEST_SKIP() << "dosbox is not installed";
    const std::vector<std::string> session = {
        "C:",
        "MD WORK",
        "CD WORK",
        "MD SUB",
        "CD SUB",
        "CD..",
        "COPY \\README.TXT COPY1.TXT",
        "REN COPY1.TXT RENAMED.TXT",
        "MD GONE",
        "RD GONE",
        "D:",
        "CD DATA",
        "COPY NOTES.TXT C:\\WORK",
        "C:",
        "CD\\",
        "CD WORK\\SUB",
        "D:",
        "CD..",
        "MD NEW",
        "REN DATA STORE",
        "C:",
    };
    for (const char* side : {"/dos", "/ours"}) {
        std::filesystem::create_directories(root + side + "/c");
        std::filesystem::create_directories(root + side + "/d/DATA");
        write(root + side + "/c/README.TXT", "read me\r\n");
        write(root + side + "/d/DATA/NOTES.TXT", std::string(70000, 'n'));
    }
    std::string config =
        "[sdl]\nfullscreen=false\noutput=surface\n[mixer]\nnosound=true\n[speaker]\n"
        "pcspeaker=false\ntandy=off\ndisney=false\n[sblaster]\nsbtype=none\n[gus]\ngus=false\n"
        "[midi]\nmpu401=none\nmididevice=none\n[dos]\nkeyboardlayout=none\n[autoexec]\n"
        "mount c " +
        root + "/dos/c\nmount d " + root + "/dos/d\n";
    for (const std::string& line : session)
        config += line + "\n";
    config += "cd > C:\\R1.TXT\nexit\n";
    write(root + "/dosbox.conf", config);
    std::filesystem::create_directories(root + "/home");
    // No window, no sound: the dummy video and audio drivers of SDL.
    capture("HOME='" + root + "/home' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 " +
            "dosbox -conf '" + root + "/dosbox.conf' -exit >'" + root + "/dosbox.log' 2>&1");
    const std::string dosDirectory = read(root + "/dos/c/R1.TXT");
    ASSERT_FALSE(dosDirectory.empty()) << "DOSBox wrote no C:\\R1.TXT:\n"
                                       << read(root + "/dosbox.log");
    std::filesystem::remove(root + "/dos/c/R1.TXT");
    EXPECT_EQ(dosDirectory, "C:\\WORK\\SUB\r\n");
    for (const char* made : {"/c/WORK/SUB", "/c/WORK/RENAMED.TXT", "/c/WORK/NOTES.TXT", "/d/NEW",
                             "/d/STORE/NOTES.TXT"})
        EXPECT_TRUE(std::filesystem::exists(root + "/dos" + made)) << made;

    shell = std::make_unique<DosShell>(
        host, std::vector<ShellDrive>{{'C', root + "/ours/c"}, {'D', root + "/ours/d"}});
    for (const std::string& line : session)
        run(line);
    EXPECT_EQ(foldCase(shell->drives().dosDirectory() + "\r\n"), foldCase(dosDirectory));
    EXPECT_EQ(capture("cd '" + root + "/dos' && find . -printf '%P %y\\n' | sort"),
              capture("cd '" + root + "/ours' && find . -printf '%P %y\\n' | sort"));
    EXPECT_EQ(capture("diff -r '" + root + "/dos' '" + root + "/ours' && echo same"), "same\n");
}

}  // namespace
