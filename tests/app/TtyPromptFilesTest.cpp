// File questions on the tty's status line, answered by typed lines: several paths ended by an
// empty line, relative paths taken against the dialog's folder, the numbered protocol question,
// the check boxes as yes/no questions, a saved name's default extension, and Esc.
#include <gtest/gtest.h>

#include <deque>

#include "app/tty/TtyPrompt.h"

namespace {

// Types the queued keys, one per wait, and keeps what the status line showed.
class TypingHost : public TtyQuestionHost {
public:
    void ShowQuestion(const std::string& text, int) override {
        if (!text.empty()) shown.push_back(text);
    }
    void WaitForInput(int) override {
        if (keys.empty()) {
            prompt->Abandon();
            return;
        }
        const TtyKey key = keys.front();
        keys.pop_front();
        prompt->OnKey(key);
    }
    void typeLine(const std::string& line) {
        if (!line.empty()) keys.push_back(TtyKey{TtyKey::Kind::Text, line});
        keys.push_back(TtyKey{TtyKey::Kind::Text, "\r"});
    }

    TtyPrompt* prompt = nullptr;
    std::deque<TtyKey> keys;
    std::vector<std::string> shown;
};

class TtyFileQuestions : public ::testing::Test {
protected:
    TtyFileQuestions() { host.prompt = &prompt; }
    TypingHost host;
    TtyPrompt prompt{host};
};

TEST_F(TtyFileQuestions, SeveralPathsThenTheProtocolAndTheBoxes) {
    FileRequest request;
    request.kind = FileDialogKind::OpenMany;
    request.caption = "보낼 파일 찾기";
    request.folder = "/up";
    request.choices = {"XMODEM", "YMODEM", "ZMODEM"};
    request.choice = 2;
    request.checks = {{"보낼 파일함에 추가", false}};
    host.typeLine("a.txt");
    host.typeLine("/abs/b.zip");
    host.typeLine("");
    host.typeLine("9");  // out of range: asked again
    host.typeLine("2");
    host.keys.push_back(TtyKey{TtyKey::Kind::Text, "y"});
    const FileReply reply = prompt.askFile(request);
    EXPECT_EQ(reply.answer, FileAnswer::Accepted);
    EXPECT_EQ(reply.paths, (std::vector<std::string>{"/up/a.txt", "/abs/b.zip"}));
    EXPECT_EQ(reply.choice, 1);
    EXPECT_EQ(reply.checks, std::vector<bool>{true});
    EXPECT_NE(host.shown.front().find("보낼 파일 찾기"), std::string::npos);
}

TEST_F(TtyFileQuestions, ALockedChoiceAndNoBoxesAskNothingMore) {
    FileRequest request;
    request.kind = FileDialogKind::OpenMany;
    request.choices = {"ZMODEM"};
    request.choiceLocked = true;
    host.typeLine("/f");
    host.typeLine("");
    const FileReply reply = prompt.askFile(request);
    EXPECT_EQ(reply.paths, std::vector<std::string>{"/f"});
    EXPECT_TRUE(host.keys.empty());
}

TEST_F(TtyFileQuestions, SavingProposesTheNameAndAddsTheExtension) {
    FileRequest request;
    request.kind = FileDialogKind::Save;
    request.folder = "/cap";
    request.fileName = "s1206";
    request.defaultExtension = "txt";
    host.typeLine("");
    EXPECT_EQ(prompt.askFile(request).paths, std::vector<std::string>{"/cap/s1206.txt"});
    host.typeLine("note.log");
    EXPECT_EQ(prompt.askFile(request).paths, std::vector<std::string>{"/cap/note.log"});
}

TEST_F(TtyFileQuestions, AnEmptyFirstLineStandsForTheExtraButton) {
    FileRequest request;
    request.kind = FileDialogKind::OpenMany;
    request.extraButton = "보낼 파일함(&B)";
    host.typeLine("");
    EXPECT_EQ(prompt.askFile(request).answer, FileAnswer::Extra);
    EXPECT_NE(host.shown.front().find("[Enter: 보낼 파일함]"), std::string::npos);
}

TEST_F(TtyFileQuestions, WhenSavingTabStandsForTheExtraButton) {
    FileRequest request;
    request.kind = FileDialogKind::Save;
    request.caption = "갈무리 결과";
    request.fileName = "s1206.txt";
    request.checks = {{"항상 덧붙이기", true}};
    request.extraButton = "저장않고\n보기(&V)";
    host.keys.push_back(TtyKey{TtyKey::Kind::Text, "ab\t"});
    const FileReply viewed = prompt.askFile(request);
    EXPECT_EQ(viewed.answer, FileAnswer::Extra);
    EXPECT_TRUE(viewed.paths.empty());
    EXPECT_EQ(viewed.checks, std::vector<bool>{true});  // not asked
    EXPECT_NE(host.shown.front().find("[Tab: 저장않고 보기]"), std::string::npos);

    // Enter still takes the proposed name; without one an empty line is asked again.
    host.typeLine("");
    host.keys.push_back(TtyKey{TtyKey::Kind::Text, "n"});
    EXPECT_EQ(prompt.askFile(request).answer, FileAnswer::Accepted);
    request.fileName.clear();
    host.typeLine("");
    host.keys.push_back(TtyKey{TtyKey::Kind::Text, "\t"});
    EXPECT_EQ(prompt.askFile(request).answer, FileAnswer::Extra);
    EXPECT_TRUE(host.keys.empty());
}

TEST_F(TtyFileQuestions, EscOrAnEmptyListCancels) {
    FileRequest request;
    request.kind = FileDialogKind::Open;
    host.keys.push_back(TtyKey{TtyKey::Kind::Escape, ""});
    EXPECT_EQ(prompt.askFile(request).answer, FileAnswer::Cancelled);
    request.kind = FileDialogKind::OpenMany;
    host.typeLine("");
    EXPECT_EQ(prompt.askFile(request).answer, FileAnswer::Cancelled);
}

}  // namespace
