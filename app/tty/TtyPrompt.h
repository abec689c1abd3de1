#pragma once
// Questions, notices and line input asked on the status line of the tty front end. A question
// waits for its answer key while the program keeps running; inside a wait that is already
// running it reads the keyboard itself (TtyQuestionHost::WaitForInput says how).
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/tty/TtyKeys.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"

// What a question needs of the front end.
class TtyQuestionHost {
public:
    virtual ~TtyQuestionHost() = default;
    // Shows the text (UTF-8) on the status line, with the caret after `caret` cells of it
    // (-1: no caret); an empty text gives the status line back.
    virtual void ShowQuestion(const std::string& text, int caret) = 0;
    // Lets up to ms milliseconds pass while keys reach OnKey.
    virtual void WaitForInput(int ms) = 0;
    // Rings the terminal's bell (unless the session is silent).
    virtual void Beep() {}
};

// How a line is asked: typed characters shown as '*', and what Tab does (it gives the label
// that shows from then on, and with tabEnds also ends the line); the text it starts with.
struct LineQuestion {
    bool masked = false;
    std::function<std::string()> onTab;
    bool tabEnds = false;
    std::string initial;  // UTF-8
};

class TtyPrompt : public Prompt {
public:
    explicit TtyPrompt(TtyQuestionHost& host, Clock& clock = Clock::steady())
        : host_(host), clock_(clock) {}

    PromptReply show(const PromptRequest& request) override;
    std::unique_ptr<WaitNotice> beginWait(const std::string& text, int delayMs) override;
    void beep() override { host_.Beep(); }
    // One path per line; for several files an empty line ends the list. The extra button is an
    // empty first line, or Tab when saving (where an empty line takes the proposed name). A
    // choice list is asked as a numbered question, check boxes as yes/no questions
    // (TtyPromptFiles.cpp).
    FileReply askFile(const FileRequest& request) override;
    // A line typed on the status line after `label`; nothing when Esc cancelled it.
    std::optional<std::string> AskLine(const std::string& label, const LineQuestion& how = {});
    // The next key pressed after `label`, whatever it is; nothing when Esc cancelled it.
    std::optional<TtyKey> AskKey(const std::string& label);
    // One of `choices` by its number (Enter keeps `preselected`); nothing when Esc cancelled.
    std::optional<int> AskChoice(const std::string& label, const std::vector<std::string>& choices,
                                 int preselected);

    // A key while a question or a wait notice is up: true when it was taken.
    bool OnKey(const TtyKey& key);
    bool Active() const { return asking_ != Asking::Nothing || waits_ > 0; }
    // Keys typed after an answer but read with it; the front end handles them once the
    // question has ended.
    std::vector<TtyKey> TakeHeldKeys();
    // Cancels the job behind a wait notice, unless a question is up; true when there was one.
    bool CancelWait();
    // The keyboard is gone: every question ends with its cancelling answer.
    void Abandon() { abandoned_ = true; }

private:
    enum class Asking { Nothing, Buttons, Line, Key };
    class Wait;

    std::optional<std::vector<std::string>> askPaths(const FileRequest& request);
    bool answerButton(const TtyKey& key);
    bool editLine(const TtyKey& key);
    bool waitForLine();
    void showLine();

    TtyQuestionHost& host_;
    Clock& clock_;
    Asking asking_ = Asking::Nothing;
    PromptButtons buttons_ = PromptButtons::Ok;
    std::optional<PromptAnswer> answer_;
    std::string label_;
    std::string line_;
    LineQuestion lineHow_;
    std::optional<TtyKey> keyAnswer_;
    bool lineDone_ = false;
    bool lineCancelled_ = false;
    int waits_ = 0;
    bool waitCancelled_ = false;
    bool abandoned_ = false;
    std::vector<TtyKey> heldKeys_;
};
