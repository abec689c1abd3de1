#include "app/gui/ChatInputBar.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <memory>

#include "app/gui/ChatBarDialog.h"
#include "app/gui/DialogButtons.h"
#include "platform/TextCodec.h"
#include "term/ScreenPainter.h"

namespace {

QString fromHost(const std::string& cp949) {
    return QString::fromStdString(cp949ToUtf8Lossy(cp949));
}

std::string toHost(const QString& text) {
    return utf8ToCp949Lossy(text.toStdString());
}

// The terminal palette's colour of an index.
QColor paletteColour(int index) {
    static const TermPalette palette = MakePalette(false, {});
    return QColor(palette[index & 15]);
}

}  // namespace

bool ChatInputField::touchesPrefix(const QKeyEvent* event) const {
    const int prefix = static_cast<int>(fromHost(bar_.Line().ProtectedPrefix()).size());
    if (prefix == 0) return false;
    const int at = hasSelectedText() ? selectionStart() : cursorPosition();
    if (event->key() == Qt::Key_Backspace) return at <= prefix && !hasSelectedText();
    if (event->key() == Qt::Key_Home) return true;
    return at < prefix;
}

bool ChatInputField::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void ChatInputField::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shell = bar_.Line().ShellOn();
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return bar_.Enter();
        case Qt::Key_Up:
            if (!shell) bar_.HistoryUp();
            return;
        case Qt::Key_Down:
            if (!shell) bar_.HistoryDown();
            return;
        case Qt::Key_Escape:
            return bar_.Escape();
        case Qt::Key_Backtab:
            if (!(mods & Qt::ControlModifier)) bar_.ToggleUseCaption();
            return;
        case Qt::Key_Tab:
            if (shell) insert("\t");
            return;
        case Qt::Key_T:
            if (mods & Qt::AltModifier) {
                if (bar_.editCaption) bar_.editCaption();
                return;
            }
            break;
        case Qt::Key_Backspace:
        case Qt::Key_Left:
        case Qt::Key_Home:
            if (touchesPrefix(event)) {
                if (event->key() == Qt::Key_Home)
                    setCursorPosition(
                        static_cast<int>(fromHost(bar_.Line().ProtectedPrefix()).size()));
                return;
            }
            break;
        default:
            if (!event->text().isEmpty() && touchesPrefix(event)) end(false);
            break;
    }
    QLineEdit::keyPressEvent(event);
}

void ChatInputField::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    menu->addSeparator();
    menu->addAction("채팅창 설정(&S)...", [this] { bar_.EditSettings(); });
    menu->exec(event->globalPos());
}

ChatInputBar::ChatInputBar(ChatSession& session, Registry& registry, QWidget* parent)
    : QWidget(parent),
      line_(session),
      registry_(registry),
      field_(new ChatInputField(*this)),
      button_(new QPushButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field_, 1);
    layout->addWidget(button_);
    connect(button_, &QPushButton::clicked, this, [this] {
        if (editCaption) editCaption();
    });
    editCaption = [this] {
        CaptionDialog dialog(*this);
        if (dialog.exec() == QDialog::Accepted) dialog.Apply(*this);
    };
    ApplySettings(ChatBarSettings::Load(registry));
}

void ChatInputBar::ApplySettings(const ChatBarSettings& settings) {
    settings_ = settings;
    line_.SetUseCaption(settings.useCaption);
    QPalette colours = field_->palette();
    colours.setColor(QPalette::Base, paletteColour(settings.bkColor));
    colours.setColor(QPalette::Text, paletteColour(settings.textColor));
    field_->setPalette(colours);
    field_->setFixedHeight(field_->fontMetrics().height() * settings.rows + 8);
    UpdateCaptionButton();
}

void ChatInputBar::SaveSettings(const ChatBarSettings& settings) {
    settings.Save(registry_);
    ApplySettings(settings);
}

void ChatInputBar::EditSettings() {
    ChatBarDialog dialog(settings_, this);
    if (dialog.exec() == QDialog::Accepted) SaveSettings(dialog.Settings());
}

void ChatInputBar::SetSymbolFont(const QFont& font) {
    field_->setFont(font);
    ApplySettings(settings_);  // the rows' height follows the font
}

void ChatInputBar::PutText(const std::string& text) {
    field_->setText(fromHost(line_.ProtectedPrefix() + text));
    field_->setFocus();
}

void ChatInputBar::SetShellPrompt(const std::string& prompt) {
    line_.SetProtectedPrefix(prompt);
    field_->setText(fromHost(prompt));
}

void ChatInputBar::Enter() {
    field_->setText(fromHost(line_.Enter(toHost(field_->text()))));
}

void ChatInputBar::HistoryUp() {
    if (std::optional<std::string> text = line_.HistoryUp(toHost(field_->text())))
        field_->setText(fromHost(*text));
}

void ChatInputBar::HistoryDown() {
    if (std::optional<std::string> text = line_.HistoryDown()) field_->setText(fromHost(*text));
}

void ChatInputBar::Escape() {
    if (!line_.Escape() && onEscape) onEscape();
}

void ChatInputBar::ToggleUseCaption() {
    settings_.useCaption = !settings_.useCaption;
    line_.SetUseCaption(settings_.useCaption);
    settings_.Save(registry_);
    UpdateCaptionButton();
}

void ChatInputBar::SetCaption(const QString& head, const QString& tail, bool use) {
    line_.SetCaption(toHost(head), toHost(tail));
    if (use != settings_.useCaption) ToggleUseCaption();
    UpdateCaptionButton();
}

void ChatInputBar::UpdateCaptionButton() {
    const std::string text = line_.CaptionButtonText();
    button_->setText(fromHost(text));
    button_->setVisible(!text.empty());
}

CaptionDialog::CaptionDialog(ChatInputBar& bar)
    : QDialog(&bar),
      head(new QLineEdit(this)),
      tail(new QLineEdit(this)),
      use(new QCheckBox("덧말 사용(&T)", this)) {
    setWindowTitle("덧말 설정");
    head->setText(fromHost(bar.Line().Head()));
    tail->setText(fromHost(bar.Line().Tail()));
    use->setChecked(bar.Line().UseCaption());
    auto* form = new QFormLayout(this);
    form->addRow("머릿말(&P)", head);
    form->addRow("꼬릿말(&S)", tail);
    form->addRow(use);
    form->addRow(OkCancelButtons(this));
}

void CaptionDialog::Apply(ChatInputBar& bar) const {
    bar.SetCaption(head->text(), tail->text(), use->isChecked());
}
