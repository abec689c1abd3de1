#pragma once
// Message boxes and questions for logic that must ask the user something. The GUI shows real
// dialogs; tools and tests hand in other implementations (see ScriptedPrompt). Texts are UTF-8.
#include <memory>
#include <string>
#include <vector>

enum class PromptIcon { None, Information, Question, Warning, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// A question with an optional check box ("다시 묻지 않기" and the like).
struct PromptRequest {
    std::string text;
    PromptButtons buttons = PromptButtons::Ok;
    PromptIcon icon = PromptIcon::None;
    std::string checkText;     // empty: no check box
    bool checked = false;      // initial state of the check box
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

// A file dialog: open one file or several, or name a file to save. Paths are UTF-8.
enum class FileDialogKind { Open, OpenMany, Save };

struct FileCheck {
    std::string text;
    bool checked = false;
};

struct FileRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string caption;
    // Pairs of label and patterns, each ended by '|': "텍스트 파일 (.txt)|*.txt|모든 파일|*.*|".
    std::string filter;
    std::string folder;            // where the dialog starts; empty: the current folder
    std::string fileName;          // the name proposed (saving)
    std::string defaultExtension;  // given to a saved name that has none, without the dot
    std::string acceptText;        // the accepting button's text; empty: the usual one
    // One item to pick from a list shown beside the files (the transfer protocols).
    std::vector<std::string> choices;
    int choice = 0;
    bool choiceLocked = false;
    std::vector<FileCheck> checks;  // check boxes shown with the dialog
    int checksForFilter = -1;       // the boxes are enabled only while this filter is chosen
    std::string extraButton;        // a button closing the dialog with FileAnswer::Extra
};

enum class FileAnswer { Accepted, Cancelled, Extra };

struct FileReply {
    FileAnswer answer = FileAnswer::Cancelled;
    std::vector<std::string> paths;  // absolute; one unless the request was OpenMany
    int filter = 0;                  // the filter pair chosen
    int choice = 0;
    std::vector<bool> checks;  // the final states, in the request's order
};

class Prompt {
public:
    virtual ~Prompt() = default;

    virtual PromptReply show(const PromptRequest& request) = 0;
    virtual std::unique_ptr<WaitNotice> beginWait(const std::string& text, int delayMs) = 0;
    // Programs that never ask for files keep this answer.
    virtual FileReply askFile(const FileRequest& request) {
        FileReply reply;
        reply.choice = request.choice;
        for (const FileCheck& check : request.checks)
            reply.checks.push_back(check.checked);
        return reply;
    }
    // The short warning sound of a refused action (a delete with nothing selected).
    virtual void beep() {}

    PromptAnswer ask(const std::string& text, PromptButtons buttons, PromptIcon icon) {
        return show(PromptRequest{text, buttons, icon, {}, false}).answer;
    }
    void tell(const std::string& text, PromptIcon icon) { ask(text, PromptButtons::Ok, icon); }
};
