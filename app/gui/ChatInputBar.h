#pragma once
// The chat input bar docked under the terminal: a one-line field whose Enter goes through the
// chat input line's rules (head and tail texts, "/exec" lines to the command shell, history on
// Up and Down), and the "덧말 설정" button showing the head and tail texts. Colours and height
// come from the `Chat` settings.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "auto/ChatInputLine.h"
#include "auto/ChatSettings.h"

class ChatInputBar;

class ChatInputField : public QLineEdit {
public:
    explicit ChatInputField(ChatInputBar& bar) : bar_(bar) {}

protected:
    // Tab and Shift+Tab are the field's own keys, not focus moves.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The editing menu with the bar's settings below it.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Editing keys that would remove part of the protected prompt are swallowed.
    bool touchesPrefix(const QKeyEvent* event) const;

    ChatInputBar& bar_;
};

class ChatInputBar : public QWidget {
public:
    ChatInputBar(ChatSession& session, Registry& registry, QWidget* parent = nullptr);

    ChatInputLine& Line() { return line_; }
    QLineEdit& Field() { return *field_; }
    QPushButton& CaptionButton() { return *button_; }
    // Puts a text (CP949) into the field and gives it the focus.
    void PutText(const std::string& text);
    // The command shell's prompt (CP949): the field's protected prefix and its whole text; ""
    // when the shell went off, which empties the field.
    void SetShellPrompt(const std::string& prompt);
    void ApplySettings(const ChatBarSettings& settings);
    // Stores the settings in the `Chat` record and applies them.
    void SaveSettings(const ChatBarSettings& settings);
    // The settings dialog (the field's context menu opens it).
    void EditSettings();
    // The field's font: the terminal's symbol font, a line high.
    void SetSymbolFont(const QFont& font);
    // Esc outside the history: the scroll-back is cancelled by whoever set this.
    std::function<void()> onEscape;
    // The "덧말 설정" dialog; Alt+T and the button open it.
    std::function<void()> editCaption;

    void Enter();
    void HistoryUp();
    void HistoryDown();
    void Escape();
    void ToggleUseCaption();
    void SetCaption(const QString& head, const QString& tail, bool use);
    void UpdateCaptionButton();

private:
    ChatInputLine line_;
    Registry& registry_;
    ChatBarSettings settings_;
    ChatInputField* field_;
    QPushButton* button_;
};

// "덧말 설정": 머릿말, 꼬릿말 and "덧말 사용".
class CaptionDialog : public QDialog {
public:
    explicit CaptionDialog(ChatInputBar& bar);
    QLineEdit* head;
    QLineEdit* tail;
    class QCheckBox* use;
    // Hands the texts to the bar (what OK does).
    void Apply(ChatInputBar& bar) const;
};
