// Downloads and uploads of quilite-demohost by ZMODEM, received and sent by our engines over
// the telnet link as the session runs them; and a stop in the middle of a download.
#include <chrono>
#include <filesystem>

#include "platform/TextCodec.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/link/TelnetTestSupport.h"
#include "tests/tools/DemoHostProcess.h"
#include "tests/xfer/XferTestSupport.h"

namespace fs = std::filesystem;

namespace {

const std::string kFiles = QUILITE_BINARY_DIR "/data/DemoFiles";

class DemoTransfer : public LinkTest {
protected:
    DemoTransfer()
        : folder(dir + "/host"),
          dst(dir + "/dst"),
          src(dir + "/src"),
          host((fs::create_directories(folder), fs::create_directories(dst),
                fs::create_directories(src), folder)) {}

    // Logs in and goes to the download room.
    void enterFiles() {
        pumpUntil("");
        ASSERT_TRUE(link.Connect("127.0.0.1", host.port()));
        ASSERT_TRUE(waitFor("login: "));
        type("tester\r", "Password: ");
        type("pw\r", demoMenuPrompt());
        type("go files\r", demoMenuPrompt());
    }
    void type(const std::string& text, const std::string& until) {
        received.clear();
        link.WriteString(text.c_str());
        ASSERT_TRUE(waitFor(until)) << received;
    }
    // Types a command and lets the pump stop at the line that comes just before the transfer,
    // so that the engine finds everything after it.
    void startTransfer(const std::string& command, const std::string& lastLine) {
        received.clear();
        pumpUntil(cp949(lastLine) + "\r\n");
        link.WriteString(command.c_str());
        ASSERT_TRUE(waitFor(cp949(lastLine) + "\r\n")) << received;
    }
    void pumpUntil(const std::string& marker) { LinkTest::pumpUntil(link, marker); }
    fs::path uploadFolder() {
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().rfind("quilite-demo-", 0) == 0) return entry;
        return {};
    }

    std::string folder, dst, src;
    DemoHostProcess host;
    TelnetLink link{TelnetContext{loop, prompt, comm}};
    RecordingMonitor monitor{dst};
};

TEST_F(DemoTransfer, ChoosingAFileStartsItsDownload) {
    enterFiles();
    startTransfer("3\r", "random.bin 파일을 ZMODEM으로 보냅니다.");
    EXPECT_EQ(runZmodem(link, monitor, false, ""), 0);
    EXPECT_TRUE(xfertest::sameBytes(xfertest::readFile(dst + "/random.bin"),
                                    xfertest::readFile(kFiles + "/random.bin")));
    pumpUntil("");
    ASSERT_TRUE(waitFor(cp949("보내기가 끝났습니다.")));
    ASSERT_TRUE(waitFor(demoMenuPrompt()));

    // The Korean name goes out in CP949.
    startTransfer("dn 4\r", "한글자료.txt 파일을 ZMODEM으로 보냅니다.");
    EXPECT_EQ(runZmodem(link, monitor, false, ""), 0);
    EXPECT_EQ(xfertest::readFile(dst + "/" + cp949("한글자료.txt")),
              xfertest::readFile(kFiles + "/한글자료.txt"));
}

TEST_F(DemoTransfer, UploadsLandInThePrivateFolder) {
    enterFiles();
    const fs::path uploads = uploadFolder();
    ASSERT_FALSE(uploads.empty());
    EXPECT_EQ(fs::status(uploads).permissions(), fs::perms::owner_all);
    const std::string data = xfertest::randomData(300000, 11);
    xfertest::writeFile(src + "/up.bin", data);
    startTransfer("up\r", "올릴 파일을 ZMODEM으로 보내십시오. (파일당 8 MiB까지)");
    EXPECT_EQ(runZmodem(link, monitor, true, src + "/up.bin"), 0);
    EXPECT_TRUE(xfertest::sameBytes(xfertest::readFile(uploads / "up.bin"), data));
    pumpUntil("");
    ASSERT_TRUE(waitFor(cp949("올리기가 끝났습니다.")));
}

TEST_F(DemoTransfer, StopMidDownloadEndsAtOnceAndRemovesTheUploads) {
    enterFiles();
    const fs::path uploads = uploadFolder();
    startTransfer("3\r", "random.bin 파일을 ZMODEM으로 보냅니다.");
    // Nobody receives: the host waits for the receiver's answer until it is told to stop.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.terminate(5000), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(fs::exists(uploads));
}

}  // namespace
