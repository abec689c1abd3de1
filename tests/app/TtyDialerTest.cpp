// quilite --tty dialling a stored modem entry through the simulated modem on a pty: the dialler
// on the status line and its keys (Enter, "n", Esc), driven in a tmux terminal.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "auto/CRecordStore.h"
#include "auto/CSettingsSection.h"
#include "auto/FirstRunSetup.h"
#include "auto/ProfileStore.h"
#include "link/ModemTable.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "tests/app/TtyModemProfile.h"
#include "tests/fixtures/HayesModem.h"
#include "tests/fixtures/TmuxSession.h"

namespace {

class TtyDialer : public ::testing::Test {
protected:
    TtyDialer() : modem(cable) {
        char pattern[] = "/tmp/quilite-dial-XXXXXX";
        dir = mkdtemp(pattern);
        std::unique_ptr<Registry> registry = openTtyModemProfile(dir, cable.slavePath);
        CRecordStore store(*registry);
        store.SelectKind(RecordKind::ModemEntry);
        store.WriteRecord(*store.AddRecord(store.Section()),
                          {{"Title", utf8ToCp949("하이텔 접속").value()},
                           {"Type", "0"},
                           {"Phone", ":01410:33600:1,02:3420-1410:28800:1"}});
    }
    ~TtyDialer() override {
        tmux.reset();
        std::filesystem::remove_all(dir);
    }

    void run() {
        mkdir((dir + "/run").c_str(), 0700);
        tmux = std::make_unique<TmuxSession>(
            dir, 80, 25,
            std::vector<std::string>{"HOME=" + dir, "XDG_CONFIG_HOME=" + dir + "/config",
                                     "XDG_DATA_HOME=" + dir + "/data",
                                     "XDG_RUNTIME_DIR=" + dir + "/run",
                                     "QUILITE_DATA_DIR=" QUILITE_SOURCE_DIR "/data"},
            std::vector<std::string>{QUILITE_BINARY_DIR "/app/quilite", "--tty"});
    }
    bool modemGot(const std::string& command) {
        for (int i = 0; i < 250; ++i) {
            for (const std::string& got : modem.commands())
                if (got == command) return true;
            usleep(20000);
        }
        return false;
    }
    std::string statusLine() { return tmux->Lines().at(24); }

    std::string dir;
    PtyCable cable;
    HayesModem modem;
    std::unique_ptr<TmuxSession> tmux;
};

TEST_F(TtyDialer, TheStatusLineDialsAndEnterNAndEscWork) {
    modem.onDial("01410", {});  // silence until abandoned
    modem.onDial("02-3420-1410", {});
    run();
    ASSERT_TRUE(tmux->WaitForScreen("OK")) << tmux->Screen();

    tmux->Keys({"C-]", "d"});
    ASSERT_TRUE(tmux->WaitForScreen("모뎀 연결 이름:")) << tmux->Screen();
    tmux->Type("하이텔 접속");
    tmux->Keys({"Enter"});
    // "자동 걸기" is set: it dials at once.
    ASSERT_TRUE(tmux->WaitForScreen("전화걸기 [하이텔 접속]")) << tmux->Screen();
    ASSERT_TRUE(modemGot("ATDT01410"));
    ASSERT_TRUE(tmux->WaitForScreen("ATDT01410 ")) << tmux->Screen();
    EXPECT_TRUE(statusLine().starts_with(" 전화걸기 [하이텔 접속] ")) << statusLine();
    EXPECT_TRUE(statusLine().ends_with("/80초  Enter 중지  n 다음 번호  Esc 취소")) << statusLine();

    tmux->Keys({"Enter"});  // stops: the modem abandons the call
    ASSERT_TRUE(tmux->WaitForScreen("NO CARRIER")) << tmux->Screen();
    ASSERT_TRUE(tmux->WaitForScreen("1/2 01410 전국 (기본 위치)")) << statusLine();
    EXPECT_TRUE(statusLine().ends_with("  Enter 걸기  Esc 취소")) << statusLine();

    tmux->Keys({"Enter"});
    ASSERT_TRUE(tmux->WaitForScreen("Enter 중지")) << statusLine();
    tmux->Keys({"n"});  // the next number after the pause
    ASSERT_TRUE(modemGot("ATDT02-3420-1410"));
    ASSERT_TRUE(tmux->WaitForScreen("ATDT02-3420-1410")) << tmux->Screen();

    const size_t before = modem.received().size();
    tmux->Keys({"Escape"});  // closes, abandoning the call
    ASSERT_TRUE(tmux->WaitForScreen(" 모뎀 Modem")) << tmux->Screen();
    EXPECT_EQ(statusLine().find("전화걸기"), std::string::npos) << statusLine();
    for (int i = 0; i < 100 && modem.received().size() == before; ++i)
        usleep(20000);
    EXPECT_EQ(modem.received().substr(before), "\r");

    // Keys go to the modem again.
    tmux->Type("AT");
    tmux->Keys({"Enter"});
    EXPECT_TRUE(modemGot("AT"));
}

}  // namespace
