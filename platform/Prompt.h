#pragma once
// Message boxes and questions for logic that must ask the user something. The GUI shows real
// dialogs; tools and tests hand in other implementations (see ScriptedPrompt). Texts are UTF-8.
#include <memory>
#include <string>

enum class PromptIcon { None, Information, Question, Warning, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// A question with an optional check box ("다시 묻지 않기" and the like).
struct PromptRequest {
    std::string text;
    PromptButtons buttons = PromptButtons::Ok;
    PromptIcon icon = PromptIcon::None;
    std::string checkText;  // empty: no check box
    bool checked = false;   // initial state of the check box
    std::string caption = {};  // the box's title; empty: the program's name
};

// The answer of a box closed without a button (Esc, the title bar): Cancel where there is one,
// else No, else OK.
inline PromptAnswer cancellingAnswer(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::Ok:
            return PromptAnswer::Ok;
        case PromptButtons::YesNo:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Cancel;
    }
}

struct PromptReply {
    PromptAnswer answer = PromptAnswer::Ok;
    bool checked = false;  // final state of the check box
};

// A notice shown while a long job runs, appearing only when the job outlasts the delay given
// to Prompt::beginWait. The job polls cancelled(); destroying the object takes the notice down.
class WaitNotice {
public:
    virtual ~WaitNotice() = default;
    virtual bool cancelled() = 0;
};

class Prompt {
public:
    virtual ~Prompt() = default;

    virtual PromptReply show(const PromptRequest& request) = 0;
    virtual std::unique_ptr<WaitNotice> beginWait(const std::string& text, int delayMs) = 0;
    // The short warning sound of a refused action (a delete with nothing selected).
    virtual void beep() {}

    PromptAnswer ask(const std::string& text, PromptButtons buttons, PromptIcon icon) {
        return show(PromptRequest{text, buttons, icon, {}, false}).answer;
    }
    void tell(const std::string& text, PromptIcon icon) { ask(text, PromptButtons::Ok, icon); }
};
