#include "baduk/gui/BadukInputLine.h"

#include <QKeyEvent>
#include <QTextBlock>

#include "baduk/BadukInit.h"
#include "baduk/InputLine.h"
#include "platform/TextCodec.h"

namespace {

InputLine::Key keyOf(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return InputLine::Key::Enter;
        case Qt::Key_Tab:
            return InputLine::Key::Tab;
        case Qt::Key_Delete:
            return InputLine::Key::Delete;
        case Qt::Key_U:
            return InputLine::Key::U;
        case Qt::Key_Backspace:
            return InputLine::Key::Backspace;
        default:
            return InputLine::Key::Other;
    }
}

}  // namespace

BadukInputLine::BadukInputLine(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(false);
}

void BadukInputLine::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    QTextCursor cursor = textCursor();
    switch (InputLine::ActionFor(keyOf(event->key()), ctrl, cursor.positionInBlock() == 0)) {
        case InputLine::Action::Send:
            return sendLine();
        case InputLine::Action::Nothing:
            return;
        case InputLine::Action::InsertTab:
            return insertPlainText("\t");
        case InputLine::Action::ClearAll:
            return clear();
        case InputLine::Action::ClearLine:
            cursor.movePosition(QTextCursor::StartOfBlock);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            setTextCursor(cursor);
            return;
        case InputLine::Action::Default:
            return QPlainTextEdit::keyPressEvent(event);
    }
}

void BadukInputLine::sendLine() {
    QTextCursor cursor = textCursor();
    std::string line = InputLine::Cut(utf8ToCp949Lossy(cursor.block().text().toStdString()));
    BadukPuts(line.c_str());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    setTextCursor(cursor);
    for (int drop = InputLine::LinesToDrop(cursor.blockNumber()); drop > 0; --drop) {
        QTextCursor first(document()->firstBlock());
        first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        first.removeSelectedText();
    }
    ensureCursorVisible();
}
