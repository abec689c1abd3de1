#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>
#include <sstream>

#include "auto/CSettingsSection.h"
#include "auto/FileRecords.h"
#include "link/Capture.h"
#include "platform/ScriptedPrompt.h"
#include "term/CopyText.h"
#include "tests/auto/TempProfile.h"

namespace {

using namespace std::string_literals;

class FakeCaptureHost : public CaptureHost {
public:
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
    void SetRawTap(TWEmulator::RawTap tap) override { rawTap = std::move(tap); }
    void OpenInEditor(const std::string& path) override { edited.push_back(path); }
    int64_t Now() override { return now; }
    std::string Service() override { return utf8ToCp949("하이텔").value(); }
    std::string Title() override { return "bbs"; }
    bool SavePicture(const std::string& path) override {
        pictures.push_back(path);
        return true;
    }

    int64_t now = 0;
    TWEmulator::RawTap rawTap;
    std::vector<std::string> statuses;
    std::vector<std::string> edited;
    std::vector<std::string> pictures;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

FileReply accepted(const std::string& path, std::vector<bool> checks, int filter = 0) {
    FileReply reply;
    reply.answer = FileAnswer::Accepted;
    reply.paths = {path};
    reply.checks = std::move(checks);
    reply.filter = filter;
    return reply;
}

FileReply answered(FileAnswer answer) {
    FileReply reply;
    reply.answer = answer;
    return reply;
}

class CaptureTest : public TempProfile {
protected:
    CaptureTest() {
        std::filesystem::create_directory(dir + "/tmp");
        setenv("TMPDIR", (dir + "/tmp").c_str(), 1);
        struct tm day = {};
        day.tm_year = 2026 - 1900;
        day.tm_mon = 11;
        day.tm_mday = 6;
        day.tm_hour = 12;
        host.now = mktime(&day);
    }
    ~CaptureTest() override { unsetenv("TMPDIR"); }

    void show(const std::string& text) {
        for (char c : text)
            view.PutByte(static_cast<uint8_t>(c));
    }
    // Starts a text capture, shows `text` and finishes with the scripted save reply.
    void captureAndSave(const std::string& text, FileReply reply) {
        ASSERT_TRUE(capture.StartCapture());
        show(text);
        prompt.expectFile(std::move(reply));
        capture.FinishCaptureWithSave();
    }
    std::vector<std::string> temporaryFiles() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir + "/tmp"))
            names.push_back(entry.path().string());
        return names;
    }
    std::string captureFolder() { return dir + "/data/quilite/cap"; }

    ScriptedPrompt prompt;
    TWView view;
    FakeCaptureHost host;
    Capture capture{*registry, prompt, view, host};
};

TEST_F(CaptureTest, TextCaptureNormalisesLineEndsAndLeavesOutWhatShowsWhilePaused) {
    ASSERT_TRUE(capture.StartCapture());
    EXPECT_EQ(host.statuses.back(), "갈무리를 시작합니다.");
    EXPECT_FALSE(capture.SetMode(Capture::Mode::Code));
    show("a\nb\r\nc\r\rd");
    capture.PauseCapture();
    show("hidden");
    capture.PauseCapture();
    show("e");
    capture.FinishCaptureAndView();

    ASSERT_EQ(host.edited.size(), 1u);
    const std::string temporary = host.edited[0];
    EXPECT_EQ(readFile(temporary), "a\r\nb\r\nc\rde");
    EXPECT_EQ(std::filesystem::path(temporary).parent_path(), dir + "/tmp");
    EXPECT_EQ(std::filesystem::path(temporary).extension(), ".txt");
    struct stat info;
    ASSERT_EQ(stat(temporary.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(capture.state(), Capture::State::Off);
    show("after");
    EXPECT_EQ(readFile(temporary), "a\r\nb\r\nc\rde");
}

// Runs handed over at once are searched for line ends eight bytes at a time: a line end at
// any place of a run gives what the same bytes give one by one.
TEST_F(CaptureTest, TextRunsNormaliseAsSingleBytesDo) {
    auto normalised = [](const std::string& text) {
        std::string out;
        bool lastWasCR = false;
        for (char c : text) {
            if (c == '\n') out += lastWasCR ? "\n" : "\r\n";
            if (c == '\r' && !lastWasCR) out += '\r';
            if (c != '\r' && c != '\n') out += c;
            lastWasCR = c == '\r';
        }
        return out;
    };
    std::string runs;
    ASSERT_TRUE(capture.StartCapture());
    for (size_t at = 0; at < 20; ++at) {
        for (const char* end : {"\n", "\r", "\r\n", "\r\r\n\n"}) {
            std::string run = std::string(24, 'x');
            run.insert(at, end);
            view.PutText(reinterpret_cast<const uint8_t*>(run.data()),
                         static_cast<int>(run.size()));
            runs += run;
        }
    }
    capture.FinishCaptureAndView();
    ASSERT_EQ(host.edited.size(), 1u);
    EXPECT_EQ(readFile(host.edited[0]), normalised(runs));
}

TEST_F(CaptureTest, CodeCaptureWritesReceivedBytesAsTheyCame) {
    ASSERT_TRUE(capture.SetMode(Capture::Mode::Code));
    ASSERT_TRUE(capture.StartCapture());
    EXPECT_EQ(host.statuses.back(), "코드 갈무리를 시작합니다.");
    ASSERT_TRUE(host.rawTap);
    std::string bytes = "\x1b[1;31mred\r\n\x07\x00\xff"s;
    bytes += std::string(10000, 'x');             // through the buffer more than once
    for (size_t i = 0; i < bytes.size(); i += 7)  // in runs, as the interpreter hands them over
        host.rawTap(reinterpret_cast<const uint8_t*>(bytes.data()) + i,
                    static_cast<int>(std::min<size_t>(7, bytes.size() - i)));
    show("shown text is not code");
    capture.FinishCaptureAndView();
    EXPECT_FALSE(host.rawTap);
    EXPECT_EQ(readFile(host.edited.at(0)), bytes);
}

TEST_F(CaptureTest, SavingProposesTheDayThenTheLastNameAndAppendsOrReplaces) {
    captureAndSave("first\n", accepted(captureFolder() + "/s1206.txt", {true}));
    ASSERT_EQ(prompt.filesAsked.size(), 1u);
    const FileRequest& asked = prompt.filesAsked[0];
    EXPECT_EQ(asked.caption, "갈무리 결과");
    EXPECT_EQ(asked.filter, "텍스트 파일 (.txt)|*.txt|모든 파일|*.*|");
    EXPECT_EQ(asked.folder + "/" + asked.fileName, captureFolder() + "/s1206.txt");
    EXPECT_EQ(asked.defaultExtension, "txt");
    EXPECT_EQ(asked.extraButton, "저장않고\n보기(&V)");
    const std::string saved = captureFolder() + "/s1206.txt";
    EXPECT_EQ(readFile(saved), "first\r\n");
    struct stat info;
    ASSERT_EQ(stat(saved.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & 0044, 0u);  // an ordinary file now, no longer the private temporary
    EXPECT_EQ(host.edited, std::vector<std::string>{saved});  // ViewAfterSave defaults to 1
    EXPECT_TRUE(temporaryFiles().empty());

    // Appended without a question while the box is ticked.
    captureAndSave("second\n", accepted(saved, {true}));
    EXPECT_EQ(prompt.filesAsked[1].folder + "/" + prompt.filesAsked[1].fileName, saved);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(readFile(saved), "first\r\nsecond\r\n");

    // Cleared: asked; No shows the dialog again, Yes moves the old file to the trash.
    prompt.expect(PromptAnswer::No);
    prompt.expect(PromptAnswer::Yes);
    ASSERT_TRUE(capture.StartCapture());
    show("third");
    prompt.expectFile(accepted(saved, {false}));
    prompt.expectFile(accepted(saved, {false}));
    capture.FinishCaptureWithSave();
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text,
              saved + "\n이 파일이 이미 존재합니다.\n\n기존 파일을 바꾸시겠습니까?");
    EXPECT_FALSE(prompt.filesAsked[3].checks[0].checked);
    EXPECT_EQ(readFile(saved), "third");
    EXPECT_EQ(readFile(dir + "/data/Trash/files/s1206.txt"), "first\r\nsecond\r\n");
    EXPECT_EQ(CSettingsSection(*registry, "Settings\\Capture").GetInt("AlwaysAppend", 1), 0);

    CRecordStore store(*registry);
    std::vector<Record> records = readFileRecords(store, RecordKind::CaptureFile);
    ASSERT_EQ(records.size(), 3u);
    FileRecord last = fileRecordFrom(records[2], RecordKind::CaptureFile);
    EXPECT_EQ(last.path, saved);
    EXPECT_EQ(last.size, 5);
    EXPECT_EQ(last.description, cp("하이텔(bbs)"));
}

TEST_F(CaptureTest, ViewingOrCancellingKeepsTheTemporaryFileAndRecordsNothing) {
    CSettingsSection(*registry, "Settings\\Capture").SetInt("ViewAfterSave", 0);
    captureAndSave("kept", answered(FileAnswer::Cancelled));
    EXPECT_TRUE(host.edited.empty());
    ASSERT_EQ(temporaryFiles().size(), 1u);
    EXPECT_EQ(readFile(temporaryFiles()[0]), "kept");

    captureAndSave("viewed", answered(FileAnswer::Extra));
    ASSERT_EQ(host.edited.size(), 1u);
    EXPECT_EQ(readFile(host.edited[0]), "viewed");
    EXPECT_EQ(temporaryFiles().size(), 2u);

    captureAndSave("quiet", accepted(dir + "/quiet.txt", {true}));
    EXPECT_EQ(host.edited.size(), 1u);  // ViewAfterSave is off
    CRecordStore store(*registry);
    EXPECT_EQ(readFileRecords(store, RecordKind::CaptureFile).size(), 1u);
}

TEST_F(CaptureTest, AFailedStoreKeepsTheRecordingAndSaysWhere) {
    captureAndSave("precious", accepted(dir + "/missing-folder/x.txt", {true}));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    ASSERT_EQ(temporaryFiles().size(), 1u);
    EXPECT_NE(prompt.asked[0].text.find(temporaryFiles()[0]), std::string::npos);
    EXPECT_EQ(readFile(temporaryFiles()[0]), "precious");
    CRecordStore store(*registry);
    EXPECT_TRUE(readFileRecords(store, RecordKind::CaptureFile).empty());
}

TEST_F(CaptureTest, NoCaptureStartsWithoutItsFile) {
    setenv("TMPDIR", (dir + "/no-such-folder").c_str(), 1);
    EXPECT_FALSE(capture.StartCapture());
    EXPECT_EQ(capture.state(), Capture::State::Off);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_EQ(prompt.asked[0].text.rfind(dir + "/no-such-folder/s", 0), 0u);
    show("nothing recorded");  // the view's tap stays empty
}

// A file size limit makes writes fail with EFBIG: the recording pauses, an append fails whole.
TEST_F(CaptureTest, AFileSizeLimitPausesTheRecordingAndFailsTheAppend) {
    const std::string saved = dir + "/big.txt";
    std::ofstream(saved) << "old";
    ASSERT_TRUE(capture.StartCapture());
    show(std::string(CaptureFile::kBufferSize + 2000, 'x'));  // fills the buffer: written out
    ASSERT_TRUE(std::filesystem::exists(temporaryFiles().at(0)));

    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit limit = old;
    limit.rlim_cur = 1000;
    sighandler_t oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    show(std::string(CaptureFile::kBufferSize, 'y'));
    const Capture::State state = capture.state();
    const int stored = StoreCapture(temporaryFiles().at(0), saved);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(state, Capture::State::Paused);
    EXPECT_EQ(host.statuses.back().rfind("갈무리 파일에 쓰지 못해", 0), 0u);
    EXPECT_EQ(stored, EFBIG);
    EXPECT_EQ(readFile(saved), "old");  // cut back to what it was
}

TEST_F(CaptureTest, SaveScreenAppendsTextAndAlwaysAsksBeforeReplacingAPicture) {
    show("screen line");
    const std::string text = dir + "/screen.txt";
    std::ofstream(text) << "old\r\n";
    prompt.expectFile(accepted(text, {true, false}));
    capture.SaveScreenCommand();
    const FileRequest& asked = prompt.filesAsked.at(0);
    EXPECT_EQ(asked.caption, "화면 저장");
    EXPECT_EQ(asked.filter, "문자 형태로 (*.txt)|*.txt|그림 형태로 (*.bmp)|*.bmp|");
    EXPECT_EQ(asked.checksForFilter, 0);
    EXPECT_EQ(asked.extraButton, "클립보드에(&C)");
    EXPECT_EQ(readFile(text), "old\r\n" + CopyScreen(view));
    EXPECT_TRUE(host.edited.empty());
    EXPECT_EQ(CSettingsSection(*registry, "Settings\\Capture").GetInt("ViewAfterSave", 1), 0);

    const std::string picture = dir + "/screen.bmp";
    std::ofstream(picture) << "BM";
    prompt.expect(PromptAnswer::Yes);
    prompt.expectFile(accepted(picture, {true, false}, 1));
    capture.SaveScreenCommand();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(host.pictures, std::vector<std::string>{picture});
    EXPECT_TRUE(std::filesystem::exists(dir + "/data/Trash/files/screen.bmp"));
}

TEST_F(CaptureTest, TheScreenJoinsARecordingEvenWhilePaused) {
    show("on screen");
    ASSERT_TRUE(capture.StartCapture());
    capture.PauseCapture();
    capture.SaveScreenCommand();
    EXPECT_EQ(host.statuses.back(), "현재 화면을 갈무리 내용에 추가합니다.");
    capture.FinishCaptureAndView();
    EXPECT_EQ(readFile(host.edited.at(0)), CopyScreen(view));
}

}  // namespace
