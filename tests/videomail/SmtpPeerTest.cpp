// reelpost send against aiosmtpd (with and without SIZE and 8BITMIME), the mail read back by
// Python's email package; the package played through sh; the hand-over to xdg-email with a
// recorder as the mail program.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "../fixtures/PeerProcess.h"
#include "VideomailTestSupport.h"
#include "auto/Registry.h"
#include "platform/TextCodec.h"
#include "videomail/ReelpostSettings.h"

namespace {

const std::string kReelpost = QUILITE_BINARY_DIR "/videomail/reelpost";
const std::string kScripts = QUILITE_SOURCE_DIR "/tests/videomail/";

int run(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

class MailServer {
public:
    MailServer(const std::string& folder, bool plain)
        : folder_(folder),
          process_(
              {"/usr/bin/python3", kScripts + "smtp-peer.py", folder, plain ? "plain" : "esmtp"},
              -1, folder, folder + "/stderr") {
        for (int i = 0; i < 200 && readFile(folder + "/port").empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        port_ = readFile(folder + "/port");
    }
    ~MailServer() { process_.kill(SIGTERM); }
    std::string address() const { return "127.0.0.1:" + port_; }

private:
    std::string folder_;
    PeerProcess process_;
    std::string port_;
};

class SmtpPeer : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"config/quilite", "data", "srv", "srv-plain"})
            std::filesystem::create_directories(folder / name);
        setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1);
        setenv("QUILITE_DATA_DIR", QUILITE_SOURCE_DIR "/data", 1);
        ASSERT_EQ(run(kReelpost + " record " + quoted(folder / "m.vmi") +
                      " --seconds 1 --video pattern --audio tone --simulated-clock"),
                  0);
    }

    void configure(const std::string& server, int withPlayer, int protocol = 0) {
        auto opened = Registry::open(folder / "config/quilite/profile.db");
        ASSERT_TRUE(opened.registry);
        ReelpostSettings settings;
        settings.server = server;
        settings.withPlayer = withPlayer;
        settings.protocol = protocol;
        settings.email = "sender@example.org";
        settings.signFile = folder / "sign.txt";
        settings.appPath = QUILITE_SOURCE_DIR "/data";
        ASSERT_TRUE(saveReelpostSettings(*opened.registry, settings));
    }

    // What check-mail.py reads from the first mail the server saved.
    std::string parsed(const std::string& serverFolder, const std::string& attachment) {
        run("/usr/bin/python3 " + kScripts + "check-mail.py " + quoted(serverFolder + "/1.eml") +
            " " + quoted(attachment) + " > " + quoted(folder / "parsed"));
        return readFile(folder / "parsed");
    }

    TempFolder folder;
};

const char* const kSend =
    " --to 'one@example.com, ,two@example.com' --cc 'three@example.com' --subject '안녕 video'"
    " --body '첫 줄\n.\n끝'";

std::string expectedBody() {
    return "첫 줄|.|끝||" + std::string(72, '-') +
           "|첨부된 파일은 Postreel로 만든 비디오 메일입니다. 파일을 누르면 볼 수 있습니다.|"
           "재생 프로그램 reelplay는 Quilite와 함께 배포됩니다.||----|서명 ☆||";
}

}  // namespace

TEST_F(SmtpPeer, SendsTheMessageWithEightBitBodyOrBase64) {
    writeFile(folder / "sign.txt", "서명 ☆\n");
    for (bool plain : {false, true}) {
        std::string serverFolder = folder / (plain ? "srv-plain" : "srv");
        MailServer server(serverFolder, plain);
        configure(server.address(), 0);
        ASSERT_EQ(run(kReelpost + " send " + quoted(folder / "m.vmi") + kSend + " 2> " +
                      quoted(folder / "progress")),
                  0)
            << readFile(folder / "progress");
        std::string envelope = readFile(serverFolder + "/1.json");
        EXPECT_NE(envelope.find("\"to\": [\"one@example.com\", \"two@example.com\", "
                                "\"three@example.com\"]"),
                  std::string::npos)
            << envelope;
        EXPECT_NE(envelope.find("\"from\": \"sender@example.org\""), std::string::npos);
        EXPECT_EQ(envelope.find("SIZE="), plain ? std::string::npos : envelope.find("SIZE="));
        EXPECT_EQ(envelope.find("BODY=8BITMIME") != std::string::npos, !plain) << envelope;

        std::string result = parsed(serverFolder, folder / "m.vmi");
        EXPECT_NE(result.find("type multipart/mixed\nboundary MessageBoundary\n"
                              "subject 안녕 video\n"),
                  std::string::npos)
            << result;
        EXPECT_NE(result.find(std::string("body-cte ") + (plain ? "base64" : "8bit")),
                  std::string::npos)
            << result;
        EXPECT_NE(result.find("attachment m.vmi\nsame-bytes True\n"), std::string::npos) << result;
        EXPECT_NE(result.find("body " + expectedBody()), std::string::npos) << result;

        std::string progress = readFile(folder / "progress");
        for (const char* step : {"MAIL SEND", "비디오 데이타 변환중...",
                                 "SMTP Server에 연결중 : ", "Sending Header Information",
                                 "메일 서버에 비디오 데이타 전송중...", "READY"})
            EXPECT_NE(progress.find(step), std::string::npos) << step;
    }
}

TEST_F(SmtpPeer, SendsAPackageThatPlaysThroughSh) {
    MailServer server(folder / "srv", false);
    configure(server.address(), 1);
    ASSERT_EQ(run(kReelpost + " send " + quoted(folder / "m.vmi") + " --to a@example.com" +
                  " --subject s 2> " + quoted(folder / "progress")),
              0)
        << readFile(folder / "progress");
    std::string launcher = readFile(QUILITE_SOURCE_DIR "/data/templete.dat");
    writeFile(folder / "expected.exe",
              launcher + std::string(150000 - launcher.size(), '\0') + readFile(folder / "m.vmi"));
    std::string result = parsed(folder / "srv", folder / "expected.exe");
    EXPECT_NE(result.find("attachment m.exe\nsame-bytes True\n"), std::string::npos) << result;
    // Built in the private outbox and removed once sent; nothing beside the message.
    EXPECT_FALSE(std::filesystem::exists(folder / "m.exe"));
    EXPECT_TRUE(std::filesystem::is_empty(folder / "data/quilite/reelpost-outbox"));

    // The package as received runs the player on itself.
    ASSERT_EQ(run("cd " + quoted(folder.path()) +
                  " && /usr/bin/python3 -c \"import email,sys; "
                  "m=email.message_from_bytes(open('srv/1.eml','rb').read()); "
                  "open('got.exe','wb').write(m.get_payload()[1].get_payload(decode=True))\""),
              0);
    ASSERT_EQ(run("PATH=" QUILITE_BINARY_DIR "/videomail:$PATH sh " + quoted(folder / "got.exe") +
                  " --headless --no-pacing --raw-video " + quoted(folder / "v.yuv")),
              0);
    EXPECT_EQ(readFile(folder / "v.yuv").size(), 30u * 176 * 144 * 3 / 2);
}

TEST_F(SmtpPeer, StopsWithTheReasonWhenItCannotSend) {
    struct Case {
        std::string server;
        int withPlayer;
        std::string appPath;
        std::string arguments;
        std::string message;
    } cases[] = {
        {"", 0, "", " --to a@b.c --subject s",
         "메일 서버가 없습니다. 메일서버를 다시 설정해주십시오."},
        {"127.0.0.1:1", 0, "", " --to ' , ' --subject s", "받을 사람을 지정해주십시오."},
        {"127.0.0.1:1", 0, "", " --to 'a@b.c, x y@z' --subject s",
         "보낼 수 없는 주소입니다: x y@z"},
        {"127.0.0.1:1", 0, "", " --to a@b.c --subject s",
         "127.0.0.1에 있는 port 1를 열수 없습니다."},
        {"nonexistent.invalid", 0, "", " --to a@b.c",
         "nonexistent.invalid에 있는 port 25를 열수 없습니다."},
        {"127.0.0.1:1", 1, folder / "none", " --to a@b.c --subject s",
         "templete.dat파일이 없습니다."},
    };
    for (const Case& c : cases) {
        configure(c.server, c.withPlayer);
        if (!c.appPath.empty()) {
            auto opened = Registry::open(folder / "config/quilite/profile.db");
            auto key = opened.registry->createPath(
                "HKEY_CURRENT_USER\\Software\\Vantra\\reelpost\\APPINFO");
            opened.registry->setValue(*key, "PATH", c.appPath);
        }
        EXPECT_EQ(run(kReelpost + " send " + quoted(folder / "m.vmi") + c.arguments + " 2> " +
                      quoted(folder / "err")),
                  1)
            << c.message;
        EXPECT_NE(readFile(folder / "err").find(c.message), std::string::npos)
            << readFile(folder / "err");
    }
}

// xdg-email runs $MAILER with the mailto: address; the recorder keeps it and a copy of the file
// it names, so that the package can be checked while it still exists.
TEST_F(SmtpPeer, HandsTheAttachmentToXdgEmail) {
    writeFile(folder / "mailer", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> " +
                                     quoted(folder / "mailto") + "\ncp \"${1#mailto:?attach=}\" " +
                                     quoted(folder / "handed") + "\n");
    std::filesystem::permissions(folder / "mailer", std::filesystem::perms::owner_all);
    std::string launcher = readFile(QUILITE_SOURCE_DIR "/data/templete.dat");
    std::string package =
        launcher + std::string(150000 - launcher.size(), '\0') + readFile(folder / "m.vmi");
    std::string outbox = folder / "data/quilite/reelpost-outbox";
    struct Case {
        int withPlayer;
        std::string mailer;
        int status;
        std::string attached;  // the path handed over; "" when the mailer failed
        std::string told;
    } cases[] = {
        {0, folder / "mailer", 0, folder / "m.vmi", ""},
        {1, folder / "mailer", 0, outbox + "/m.exe", ""},
        {0, "false", 1, "", "Send Mail failed to send message."},
    };
    for (const Case& c : cases) {
        configure("", c.withPlayer, 1);
        std::filesystem::remove(folder / "mailto");
        std::filesystem::remove(folder / "handed");
        EXPECT_EQ(run("MAILER=" + quoted(c.mailer) + " " + kReelpost + " send " +
                      quoted(folder / "m.vmi") + " 2> " + quoted(folder / "err")),
                  c.status)
            << readFile(folder / "err");
        std::string err = readFile(folder / "err");
        EXPECT_NE(err.find("MAIL SEND\n"), std::string::npos) << err;
        EXPECT_NE(err.find("READY\n"), std::string::npos) << err;
        if (c.attached.empty()) {
            EXPECT_NE(err.find(c.told), std::string::npos) << err;
            continue;
        }
        EXPECT_EQ(readFile(folder / "mailto"), "mailto:?attach=" + c.attached + "\n");
        EXPECT_EQ(readFile(folder / "handed"), c.withPlayer ? package : readFile(folder / "m.vmi"));
        // The mail program may read the package later: it stays until the next delivery.
        EXPECT_EQ(std::filesystem::exists(outbox + "/m.exe"), c.withPlayer == 1);
    }
}
