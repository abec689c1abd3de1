// The transfer bridge end to end: the session connected to telnetd, whose test program runs
// lrzsz. The host's sz starts a receive without being asked, its rz opens the send dialog;
// aborting and closing stop the transfer and keep what arrived.
#include <filesystem>

#include "auto/FileRecords.h"
#include "auto/Folders.h"
#include "link/SystemLinks.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/link/TransferSupport.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;

constexpr int kStartMs = 10000;
constexpr int kTransferMs = 60000;

class TransferPeers : public SessionTest {
protected:
    TransferPeers() : system(loop, prompt, *registry, frame), src(folder.make("src")) {
        hooks.bridge.SetView(&progress);
        hooks.bridge.SetMediaOpener([this](const std::string& path) { opened.push_back(path); });
    }
    ~TransferPeers() override {
        hooks.bridge.Detach();
        doc.reset();
    }

    // Connects, has the test program run `command` and gives it the byte it waits for.
    void runOnHost(const std::string& command) {
        start({"127.0.0.1", std::to_string(server.port())}, Clock::steady(), &system, &hooks);
        hooks.bridge.Attach({*doc, loop, prompt, *registry, sound, frame});
        ASSERT_TRUE(runUntil([&] { return screenShows("ready>"); }, kStartMs)) << screen();
        doc->SendLine(command);
        ASSERT_TRUE(runUntil([&] { return screen().find("READY") != std::string::npos; }, kStartMs))
            << screen();
        doc->SendByte('g');
    }
    bool transferEnds() {
        return runUntil([&] { return !hooks.bridge.Running() && !doc->TransferActive(); },
                        kTransferMs);
    }
    std::string screen() const {
        std::string text;
        for (int y = 0; y < view.Rows(); ++y)
            text += view.Text(y) + "\n";
        return text;
    }
    // The file manager's list of received (kind 8) or sent (kind 9) files.
    std::vector<FileRecord> listed(int kind) {
        CRecordStore store(*registry);
        std::vector<FileRecord> files;
        for (const Record& r : readFileRecords(store, kind))
            files.push_back(fileRecordFrom(r, kind));
        return files;
    }
    std::string download() { return GetFolder(*registry, FolderKind::Download); }

    TelnetServer server{TelnetServer::Kind::Inetutils};
    SystemLinks system;
    BridgeHooks hooks;
    RecordingTransferView progress;
    std::vector<std::string> opened;
    xfertest::TempFolder folder;
    std::string src;
};

// The CP949 name arrives as UTF-8; nothing is asked, the success sound plays.
TEST_F(TransferPeers, HostSzDownloadsUnaskedUnderItsKoreanName) {
    const std::string data = xfertest::randomData(300000, 3);
    xfertest::writeFile(src + "/" + cp("한글자료.bin"), data);
    ASSERT_NO_FATAL_FAILURE(runOnHost("sz " + src + "/" + cp("한글자료.bin")));
    ASSERT_TRUE(runUntil([&] { return hooks.bridge.Running(); }, kStartMs));
    ASSERT_TRUE(transferEnds());
    EXPECT_EQ(doc->TransferResult(), 0);
    EXPECT_TRUE(sameBytes(readFile(download() + "/한글자료.bin"), data));
    EXPECT_EQ(hooks.events, std::vector<int>{kTWZmodemReceive});
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(prompt.filesAsked.empty());
    EXPECT_EQ(progress.opened, std::vector<bool>{false});
    EXPECT_EQ(progress.closed, 1);
    EXPECT_EQ(progress.receivedShown, 1);  // "UseInbox" is on by default
    const std::vector<FileRecord> received =
        listed(transferredFileKind(TransferDirection::Receive));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].path, download() + "/한글자료.bin");
    EXPECT_EQ(received[0].size, 300000);
    EXPECT_EQ(received[0].transferred, 300000);
}

TEST_F(TransferPeers, WithAutoReceiveOffTheHeaderStaysOnScreen) {
    setComm("AutoZmodemReceive", "0");
    xfertest::writeFile(src + "/a.bin", "abc");
    ASSERT_NO_FATAL_FAILURE(runOnHost("sz " + src + "/a.bin"));
    ASSERT_TRUE(
        runUntil([&] { return screen().find("0000000000") != std::string::npos; }, kStartMs))
        << screen();
    EXPECT_EQ(hooks.events, std::vector<int>{kTWZmodemReceive});
    EXPECT_FALSE(hooks.bridge.Running());
    EXPECT_FALSE(xfertest::exists(download() + "/a.bin"));
}

// ZMODEM is locked in the dialog; a name CP949 holds goes on the wire in CP949, the split of a
// TAB-joined list plays no part.
TEST_F(TransferPeers, HostRzOpensTheSendDialogAndGetsTheChosenFiles) {
    const std::string dst = folder.make("dst");
    const std::string dir = folder.make("src/dir");
    xfertest::writeFile(dir + "/가", xfertest::randomData(70000, 1));
    xfertest::writeFile(dir + "/b", xfertest::textData(5000));
    FileReply reply;
    reply.answer = FileAnswer::Accepted;
    reply.paths = {dir + "/가", dir + "/b"};
    reply.choice = 0;  // a locked choice cannot change the protocol
    prompt.expectFile(reply);
    ASSERT_NO_FATAL_FAILURE(runOnHost("rz " + dst));
    ASSERT_TRUE(runUntil([&] { return !prompt.filesAsked.empty(); }, kStartMs));
    const FileRequest& asked = prompt.filesAsked[0];
    EXPECT_EQ(asked.caption, "보낼 파일 찾기");
    EXPECT_EQ(asked.acceptText, "보내기(&S)");
    EXPECT_EQ(asked.kind, FileDialogKind::OpenMany);
    EXPECT_EQ(asked.choices, transferProtocols());
    EXPECT_EQ(asked.choice, 2);
    EXPECT_TRUE(asked.choiceLocked);
    ASSERT_TRUE(transferEnds());
    EXPECT_EQ(doc->TransferResult(), 0);
    EXPECT_TRUE(sameBytes(readFile(dst + "/" + cp("가")), readFile(dir + "/가")));
    EXPECT_TRUE(sameBytes(readFile(dst + "/b"), readFile(dir + "/b")));
    EXPECT_EQ(progress.opened, std::vector<bool>{true});
    EXPECT_EQ(progress.receivedShown, 0);  // only a receive shows the received files
    const std::vector<FileRecord> sent = listed(transferredFileKind(TransferDirection::Send));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].path, dir + "/가");
    EXPECT_EQ(sent[1].transferred, 5000);
}

// An abort keeps the partial file and shows no failure; the session reads the host again.
TEST_F(TransferPeers, AbortKeepsThePartialFileWithoutAFailureMessage) {
    xfertest::writeFile(src + "/big.bin", xfertest::randomData(32u << 20, 9));
    ASSERT_NO_FATAL_FAILURE(runOnHost("sz " + src + "/big.bin"));
    ASSERT_TRUE(runUntil(
        [&] {
            return hooks.bridge.Running() && xfertest::exists(download() + "/big.bin") &&
                   std::filesystem::file_size(download() + "/big.bin") > 0;
        },
        kTransferMs));
    hooks.bridge.Abort();
    ASSERT_TRUE(transferEnds());
    EXPECT_EQ(progress.receivedShown, 0);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(sound.played.empty());
    const auto size = std::filesystem::file_size(download() + "/big.bin");
    EXPECT_LT(size, 32u << 20);
    // Listed with the share that arrived.
    const std::vector<FileRecord> received =
        listed(transferredFileKind(TransferDirection::Receive));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].size, 32 << 20);
    EXPECT_LT(received[0].transferred, 32 << 20);
    EXPECT_TRUE(doc->SendByte('x'));
    doc->OnIdle();
    EXPECT_FALSE(doc->TransferActive());
}

// Closing asks, stops the engine through its job and keeps the partial file.
TEST_F(TransferPeers, ClosingMidTransferStopsItAndKeepsThePartialFile) {
    xfertest::writeFile(src + "/big.bin", xfertest::randomData(32u << 20, 9));
    ASSERT_NO_FATAL_FAILURE(runOnHost("sz " + src + "/big.bin"));
    ASSERT_TRUE(runUntil(
        [&] {
            return doc->TransferActive() && xfertest::exists(download() + "/big.bin") &&
                   std::filesystem::file_size(download() + "/big.bin") > 100000;
        },
        kTransferMs));
    prompt.expect(PromptAnswer::Yes);  // cancel the transfer
    prompt.expect(PromptAnswer::Ok);   // close the connection
    EXPECT_TRUE(doc->QueryClose());
    EXPECT_FALSE(doc->TransferActive());
    EXPECT_EQ(prompt.asked[0].text, "파일 전송 중입니다. 파일 전송을 취소할까요?.");
    EXPECT_LT(std::filesystem::file_size(download() + "/big.bin"), 32u << 20);
}

}  // namespace
