// The chat input line on the tty's status line: typed text, Korean Backspace, Enter through the
// chat rules, history, the shell's protected prompt, Esc, the keys left to the session and the
// end of a long line shown with the caret after it.
#include <gtest/gtest.h>

#include <clocale>

#include "app/tty/TtyChatLine.h"
#include "app/tty/TtyScreen.h"
#include "platform/TextCodec.h"
#include "tests/app/TtyKeyEvents.h"
#include "tests/auto/ChatTestSupport.h"

namespace {

using Kind = TtyKey::Kind;

std::string cp(const std::string& utf8) {
    return utf8ToCp949Lossy(utf8);
}

class TtyChatLineTest : public ::testing::Test {
protected:
    TtyChatLineTest() {
        std::setlocale(LC_CTYPE, "C.UTF-8");
        line.escaped = [this] { ++escapes; };
    }
    void type(const std::vector<TtyKey>& keys) {
        for (const TtyKey& k : keys)
            EXPECT_TRUE(line.OnKey(k));
    }
    std::string shown() const {
        const std::string status = line.StatusText(80);
        return status.substr(0, status.find_last_not_of(' ') + 1);
    }

    RecordingSession session;
    int draws = 0;
    TtyChatLine line{session, [this] { ++draws; }};
    int escapes = 0;
};

TEST_F(TtyChatLineTest, LinesGoThroughTheChatRulesWithHistoryAndEsc) {
    EXPECT_FALSE(line.OnKey(text("a")));  // closed: keys go to the session
    line.Open();
    line.Line().SetCaption(cp("[머리]"), "");
    type({text("안녕"), text("하"), plain(Kind::Backspace), text("!"), text("\x01")});
    EXPECT_EQ(shown(), " 채팅> 안녕!");
    type({text("\r"), text("/st"), text("\r"), text("\r")});
    EXPECT_EQ(session.sent, cp("[[머리]안녕!\r][/st\r]\r"));
    EXPECT_EQ(shown(), " 채팅>");

    type({text("typing"), key(TWKey::Up)});
    EXPECT_EQ(shown(), " 채팅> /st");
    type({key(TWKey::Up), key(TWKey::Down), key(TWKey::Down)});
    EXPECT_EQ(shown(), " 채팅> typing");
    type({key(TWKey::Up), plain(Kind::Escape)});  // Esc only leaves the history
    EXPECT_TRUE(line.IsOpen());
    type({plain(Kind::Escape)});
    EXPECT_FALSE(line.IsOpen());
    EXPECT_EQ(escapes, 1);
    line.Open();  // the text stays for the next time
    EXPECT_EQ(shown(), " 채팅> /st");
    EXPECT_GT(draws, 0);
}

TEST_F(TtyChatLineTest, KeysOfTheSessionAndCommandsPassThrough) {
    line.Open();
    for (const TtyKey& k :
         {key(TWKey::F1), key(TWKey::Left, kTWCtrl | kTWAlt), plain(Kind::PageUp),
          plain(Kind::PageDown), TtyKey{Kind::Alt, "x", TWKey::F1, 0}, plain(Kind::Command)})
        EXPECT_FALSE(line.OnKey(k));
    type({key(TWKey::Left), plain(Kind::Delete), TtyKey{Kind::Keypad, "7", TWKey::Keypad7, 0},
          TtyKey{Kind::Paste, "붙여\r\n넣기", TWKey::F1, 0}});
    EXPECT_EQ(shown(), " 채팅> 7붙여넣기");
    EXPECT_EQ(session.sent, "");
}

TEST_F(TtyChatLineTest, TheShellPromptIsProtectedAndItsLinesNeverReachTheHost) {
    FakeShell shell;
    line.Line().SetShellHook(&shell);
    line.PutText("/exec");
    type({text("\r")});
    EXPECT_EQ(shown(), " C:\\>");
    type({plain(Kind::Backspace), plain(Kind::Backspace), text("dir"), text("\r")});
    EXPECT_EQ(shown(), " C:\\>");
    type({key(TWKey::Up)});  // no history while the shell runs
    EXPECT_EQ(shown(), " C:\\>");
    type({text("exit"), text("\r"), text("/exec type a.txt"), text("\r")});
    EXPECT_EQ(shell.ran, (std::vector<std::string>{"dir", "exit", "type a.txt"}));
    EXPECT_EQ(session.sent, "");
}

TEST_F(TtyChatLineTest, ALongLineShowsItsEndWithTheCaretAfterIt) {
    line.PutText(cp("가" + std::string(100, 'x') + "끝"));
    const std::string status = line.StatusText(40);
    EXPECT_EQ(DisplayWidth(status), 40);
    EXPECT_EQ(status, " 채팅> " + std::string(30, 'x') + "끝 ");
    EXPECT_EQ(line.Caret(40), 39);
}

}  // namespace
