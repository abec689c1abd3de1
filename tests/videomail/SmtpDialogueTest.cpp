// The SMTP dialogue against a scripted server: every step's failure reported with the server's
// line and followed by QUIT, overlong replies, a connection dropped in DATA, extensions.
#include <gtest/gtest.h>

#include "ScriptedSmtpServer.h"
#include "VideomailTestSupport.h"
#include "videomail/MailComposer.h"
#include "videomail/MailSender.h"

namespace {

class RecordedProgress : public SendProgress {
public:
    void Status(const std::string& text) override { statuses.push_back(text); }
    void Percent(int percent) override { percents.push_back(percent); }
    std::vector<std::string> statuses;
    std::vector<int> percents;
};

const std::vector<std::string> kGoodScript = {"220 ready",  "250-here\r\n250 HELP", "250 sender ok",
                                              "250 one ok", "251 two forwarded",    "354 go on",
                                              "250 queued"};

class SmtpDialogue : public ::testing::Test {
protected:
    void SetUp() override {
        std::string attachment;
        for (int i = 0; i < 20000; ++i)
            attachment += static_cast<char>(i * 31 % 256);
        writeFile(folder / "m.vmi", attachment);
        request.attachmentPath = folder / "m.vmi";
        request.attachmentName = "m.vmi";
        request.subject = "hello";
        request.body = videoMailBody("first\n.\nlast");
        request.to = {"one@example.com", "two@example.com"};
        request.senderAddress = "user";
        request.senderName = "user";
    }

    TempFolder folder;
    SendRequest request;
    RecordedProgress progress;
};

}  // namespace

TEST_F(SmtpDialogue, SendsTheMessageAndCompletesTheSender) {
    ScriptedSmtpServer server(kGoodScript);
    request.server = server.address();
    SendResult result = SendMail(request, progress);
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.error, "");
    std::vector<std::string> expected = {"EHLO [127.0.0.1]",
                                         "MAIL FROM: <user@[127.0.0.1]>",
                                         "RCPT TO: <one@example.com>",
                                         "RCPT TO: <two@example.com>",
                                         "DATA",
                                         "QUIT"};
    EXPECT_EQ(server.commands(), expected);
    std::string message = server.message();
    // Without 8BITMIME the Korean notice makes the body go in Base64.
    EXPECT_NE(message.find("charset=ks_c_5601-1987\r\nContent-Transfer-Encoding: Base64\r\n"),
              std::string::npos);
    EXPECT_NE(message.find("From: \"user\" <user@[127.0.0.1]>\r\nCC: \r\nDate: "),
              std::string::npos);
    EXPECT_TRUE(message.ends_with("\r\n\r\n--MessageBoundary--\r\n"));
    // The bar before each 2048-byte piece of the 27 000 encoded bytes.
    ASSERT_EQ(progress.percents.size(), 14u);
    EXPECT_EQ(progress.percents.front(), 0);
    EXPECT_EQ(progress.percents.back(), 13 * 2048 * 100 / 27370);
    std::vector<std::string> statuses = {
        "비디오 데이타 변환중...", "SMTP Server에 연결중 : " + server.address(),
        "Sending Header Information", "메일 서버에 비디오 데이타 전송중..."};
    EXPECT_EQ(progress.statuses, statuses);
}

TEST_F(SmtpDialogue, AnnouncesSizeAndEightBitsWhereOffered) {
    std::vector<std::string> script = kGoodScript;
    script[1] = "250-here\r\n250-SIZE 10000000\r\n250 8BITMIME";
    ScriptedSmtpServer server(script);
    request.server = server.address();
    request.senderAddress = "a@b.example";
    ASSERT_TRUE(SendMail(request, progress).sent);
    EXPECT_EQ(server.commands()[1], "MAIL FROM: <a@b.example> SIZE=28370 BODY=8BITMIME");
    std::string message = server.message();
    EXPECT_NE(message.find("Content-Transfer-Encoding: 8bit\r\n\r\n--MessageBoundary"),
              std::string::npos);
    // A body line "." goes doubled, so that it does not end the message.
    EXPECT_NE(message.find("\r\n\r\nfirst\r\n..\r\nlast\r\n"), std::string::npos);
}

TEST_F(SmtpDialogue, ReportsEachStepsFailureAndQuits) {
    // Which reply fails, and how many commands come before QUIT.
    struct Case {
        size_t step;
        std::string reply;
        size_t commandsBeforeQuit;
    } cases[] = {
        {0, "554 no service here", 0}, {1, "500 what", 1},         {2, "451 try later", 2},
        {3, "550 no such user", 3},    {4, "452 too many", 4},     {5, "554 no data", 5},
        {6, "552 too big", 5},         {1, "250-x\r\n421 bye", 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> script = kGoodScript;
        script[c.step] = c.reply;
        ScriptedSmtpServer server(script);
        request.server = server.address();
        SendResult result = SendMail(request, progress);
        EXPECT_FALSE(result.sent) << c.reply;
        std::string lastLine = c.reply.substr(c.reply.rfind('\n') + 1);
        EXPECT_EQ(result.error, "메일을 보내지 못했습니다.\n" + lastLine);
        std::vector<std::string> commands = server.commands();
        ASSERT_EQ(commands.size(), c.commandsBeforeQuit + 1) << c.reply;
        EXPECT_EQ(commands.back(), "QUIT");
    }
}

TEST_F(SmtpDialogue, SurvivesOverlongRepliesAndADroppedConnection) {
    ScriptedSmtpServer overlong({"220 " + std::string(1200, 'x')});
    request.server = overlong.address();
    SendResult result = SendMail(request, progress);
    EXPECT_FALSE(result.sent);
    EXPECT_TRUE(result.error.starts_with("메일을 보내지 못했습니다.\n")) << result.error;

    ScriptedSmtpServer dropping(kGoodScript, 3000);
    request.server = dropping.address();
    result = SendMail(request, progress);
    EXPECT_FALSE(result.sent);
    EXPECT_EQ(result.error, "메일을 보내지 못했습니다.\n메일 서버와의 연결이 끊어졌습니다.");
    EXPECT_GE(dropping.message().size(), 3000u);
}

TEST_F(SmtpDialogue, ReportsAMissingAttachment) {
    request.attachmentPath = folder / "gone.vmi";
    request.attachmentName = "gone.vmi";
    SendResult result = SendMail(request, progress);
    EXPECT_FALSE(result.sent);
    EXPECT_EQ(result.error, "첨부할 파일을 읽을 수 없습니다: gone.vmi");
}
