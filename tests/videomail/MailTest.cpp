// Mail text: Base64, recipient fields, the date line, the message head, the send form's checks
// and the self-playing package.
#include <gtest/gtest.h>

#include <filesystem>

#include "VideomailTestSupport.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "videomail/Base64.h"
#include "videomail/MailAddresses.h"
#include "videomail/MailComposer.h"
#include "videomail/MailDelivery.h"
#include "videomail/Package.h"

TEST(Base64, EncodesInLinesOf76) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", "\r\n"},        {"f", "Zg==\r\n"},        {"fo", "Zm8=\r\n"},
        {"foo", "Zm9v\r\n"}, {"foob", "Zm9vYg==\r\n"}, {"foobar", "Zm9vYmFy\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(encodeBase64Lines(c.in), c.out) << c.in;
    // 100 bytes: a line of 76 characters and one of 60.
    std::string lines = encodeBase64Lines(std::string(100, '\xFF'));
    EXPECT_EQ(lines, std::string(76, '/') + "\r\n" + std::string(57, '/') + "w==\r\n");
}

TEST(MailAddresses, SplitsTrimsAndRefuses) {
    std::string long254 = std::string(240, 'a') + "@example.co.kr";
    ASSERT_EQ(long254.size(), 254u);
    std::string many;
    for (int i = 0; i < 51; ++i)
        many += "u" + std::to_string(i) + "@x.kr,";
    struct Case {
        std::string field;
        std::vector<std::string> addresses;
        std::string error;
    } cases[] = {
        {"a@b, c@d", {"a@b", "c@d"}, ""},
        {"a@b, ,c@d", {"a@b", "c@d"}, ""},
        {" , ,", {}, ""},
        {long254, {long254}, ""},
        {long254 + "x", {}, "보낼 수 없는 주소입니다: " + long254 + "x"},
        {"a b@c", {}, "보낼 수 없는 주소입니다: a b@c"},
        {"x@y, <a@b>", {}, "보낼 수 없는 주소입니다: <a@b>"},
        {"\"q\"@b", {}, "보낼 수 없는 주소입니다: \"q\"@b"},
        {"a@b\x01", {}, "보낼 수 없는 주소입니다: a@b\x01"},
        {many, {}, "주소는 50개까지 쓸 수 있습니다."},
    };
    for (const Case& c : cases) {
        std::string error;
        auto addresses = splitAddresses(c.field, error);
        EXPECT_EQ(addresses.has_value(), c.error.empty()) << c.field;
        EXPECT_EQ(addresses.value_or(std::vector<std::string>{}), c.addresses);
        EXPECT_EQ(error, c.error);
    }
}

TEST(MailComposer, DateLineInCLocaleWithOffsetAndZone) {
    std::string saved = getenv("TZ") ? getenv("TZ") : "";
    struct Case {
        const char* zone;
        time_t when;
        const char* line;
    } cases[] = {
        {"Asia/Seoul", 0, "Date: Thu,  1 Jan 1970 09:00:00 +0900 (KST)"},
        {"UTC", 1796000000, "Date: Mon, 30 Nov 2026 00:53:20 +0000 (UTC)"},
        {"America/St_Johns", 1796000000, "Date: Sun, 29 Nov 2026 21:23:20 -0330 (NST)"},
    };
    for (const Case& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        EXPECT_EQ(mailDateLine(c.when), c.line);
    }
    saved.empty() ? unsetenv("TZ") : setenv("TZ", saved.c_str(), 1);
    tzset();
}

TEST(MailComposer, HeadOfAnAsciiMailAndEncodedNames) {
    MailContent content;
    content.senderName = content.senderAddress = "me@example.org";
    content.copies = {"a@x", "b@y"};
    content.subject = "plain";
    content.body = "hi\n.dot";
    content.attachmentName = "m.vmi";
    content.dateLine = "Date: X";
    EXPECT_FALSE(needsEightBits(content));
    EXPECT_EQ(composeMailHead(content, true),
              "From: \"me@example.org\" <me@example.org>\r\nCC: a@x,b@y\r\nDate: X\r\n"
              "Subject: plain\r\nMIME-Version: 1.0 (Voice 2.0)\r\n"
              "Content-Type: Multipart/Mixed; Boundary=\"MessageBoundary\"\r\n"
              "Content-Transfer-Encoding: 7bit\r\n\r\n--MessageBoundary\r\n\r\nhi\r\n.dot\r\n\r\n"
              "--MessageBoundary\r\nContent-Type: application/x-msdownload; name=\"m.vmi\"\r\n"
              "Content-Transfer-Encoding: Base64\r\n"
              "Content-Disposition: Attachment; Filename=\"m.vmi\"\r\n\r\n");
    EXPECT_EQ(dotStuffed("a\r\n.dot\r\n..\r\n.\r\n"), "a\r\n..dot\r\n...\r\n..\r\n");

    // 30 Hangul syllables: two encoded words, cut between characters.
    std::string hangul;
    for (int i = 0; i < 30; ++i)
        hangul += "\xB0\xA1";
    content.subject = hangul;
    content.attachmentName = "영상 \"1\".vmi";
    std::string head = composeMailHead(content, true);
    EXPECT_NE(head.find("Subject: =?ks_c_5601-1987?B?" + encodeBase64(hangul.substr(0, 38)) +
                        "?=\r\n =?ks_c_5601-1987?B?" + encodeBase64(hangul.substr(38)) + "?=\r\n"),
              std::string::npos)
        << head;
    EXPECT_NE(head.find("name*=UTF-8''%EC%98%81%EC%83%81%20%221%22.vmi\r\n"), std::string::npos);
    EXPECT_NE(head.find("Filename*=UTF-8''%EC%98%81%EC%83%81%20%221%22.vmi\r\n"),
              std::string::npos);
}

TEST(SendForm, ChecksAsTheDialogDoes) {
    ReelpostSettings settings;
    settings.server = "mail.example.org";
    settings.email = "me@example.org";
    struct Case {
        std::string server;
        SendForm form;
        PromptAnswer answer;
        bool accepted;
        std::string told;
    } cases[] = {
        {"",
         {"a@b", "", "s", ""},
         PromptAnswer::Ok,
         false,
         "메일 서버가 없습니다. 메일서버를 다시 설정해주십시오."},
        {"m", {" , ", "", "s", ""}, PromptAnswer::Ok, false, "받을 사람을 지정해주십시오."},
        {"m", {"a@b", "c d", "s", ""}, PromptAnswer::Ok, false, "보낼 수 없는 주소입니다: c d"},
        {"m", {"a@b", "", "", ""}, PromptAnswer::No, false, "제목없이 보내시겠습니까?"},
        {"m", {"a@b", "", "", ""}, PromptAnswer::Yes, true, "제목없이 보내시겠습니까?"},
        {"m", {"a@b,c@d", "e@f", "s", "text"}, PromptAnswer::Ok, true, ""},
    };
    for (const Case& c : cases) {
        settings.server = c.server;
        ScriptedPrompt prompt;
        prompt.expect(c.answer);
        auto request = CheckSendForm(settings, c.form, prompt);
        EXPECT_EQ(request.has_value(), c.accepted) << c.told;
        EXPECT_EQ(prompt.asked.empty() ? "" : prompt.asked[0].text, c.told);
        if (!request) continue;
        EXPECT_EQ(request->senderAddress, "me@example.org");
        EXPECT_EQ(request->senderName, "me@example.org");
        EXPECT_TRUE(request->body.starts_with(c.form.body + "\n\n" + std::string(72, '-') + "\n"));
    }
}

TEST(Package, FillsToTheMessageOrRefuses) {
    TempFolder folder;
    writeFile(folder / "m.vmi", "message");
    writeFile(folder / "small.dat", "#!/bin/sh\n");
    writeFile(folder / "large.dat", std::string(150000, 'x'));
    struct Case {
        std::string templatePath, out;
        PackageResult result;
        std::string message;
    } cases[] = {
        {folder / "small.dat", folder / "p.exe", PackageResult::Built, ""},
        {folder / "none.dat", folder / "p.exe", PackageResult::NoTemplate,
         "templete.dat파일이 없습니다."},
        {folder / "large.dat", folder / "p.exe", PackageResult::TemplateTooLarge,
         "templete.dat파일이 너무 커서 메시지를 붙일 수 없습니다."},
        {folder / "small.dat", folder / "no/p.exe", PackageResult::CannotWrite,
         "디스크에 작업을 할 수 없습니다."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildPackage(c.templatePath, folder / "m.vmi", c.out), c.result) << c.out;
        EXPECT_EQ(packageMessage(c.result), c.message);
    }
    EXPECT_EQ(readFile(folder / "p.exe"), "#!/bin/sh\n" + std::string(149990, '\0') + "message");
    EXPECT_TRUE((std::filesystem::status(folder / "p.exe").permissions() &
                 std::filesystem::perms::owner_exec) != std::filesystem::perms::none);
}

TEST(DeliverMessage, HandsTheAttachmentToTheMailProgram) {
    TempFolder folder;
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    writeFile(folder / "m.vmi", "message");
    writeFile(folder / "templete.dat", "#!/bin/sh\n");
    ReelpostSettings settings;
    settings.protocol = 1;
    settings.appPath = folder.path();
    struct Case {
        int withPlayer;
        int status;
        bool sent;
        std::string told;
    } cases[] = {
        {0, 0, true, ""},
        {1, 0, true, ""},
        {0, 3, false, "Unable to load mail system support."},
        {0, -1, false, "Unable to load mail system support."},
        {1, 1, false, "Send Mail failed to send message."},
    };
    for (const Case& c : cases) {
        settings.withPlayer = c.withPlayer;
        ScriptedPrompt prompt;
        struct : SendProgress {
            void Status(const std::string&) override {}
            void Percent(int) override {}
        } progress;
        std::vector<std::string> statuses, ran;
        DeliveryHooks hooks{prompt, progress, [&](const std::string& s) { statuses.push_back(s); },
                            [&](const std::vector<std::string>& argv) {
                                ran = argv;
                                return c.status;
                            }};
        EXPECT_EQ(DeliverMessage(folder / "m.vmi", settings, {}, hooks), c.sent);
        EXPECT_EQ(statuses, (std::vector<std::string>{"MAIL SEND", "READY"}));
        std::string attachment = c.withPlayer ? outboxFolder() + "/m.exe" : folder / "m.vmi";
        EXPECT_EQ(ran, (std::vector<std::string>{"xdg-email", "--attach", attachment}));
        // The mail program may read the package later: it stays until the next delivery.
        EXPECT_EQ(std::filesystem::exists(attachment), true);
        EXPECT_EQ(prompt.asked.empty() ? "" : prompt.asked[0].text, c.told);
    }
    unsetenv("XDG_DATA_HOME");
}
