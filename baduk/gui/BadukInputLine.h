#pragma once
// The Go window's input line: Enter sends the caret's line (at most 128 bytes) to the host and
// opens a fresh line, keeping at most 28; Tab, Ctrl+Delete, Ctrl+U and Backspace as the rules
// of InputLine say.
#include <QPlainTextEdit>

class BadukInputLine : public QPlainTextEdit {
public:
    explicit BadukInputLine(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void sendLine();
};
