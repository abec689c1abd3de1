#include "app/gui/AutoMacroDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/CommandTable.h"
#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"
#include "auto/AutoMacroPage.h"
#include "platform/StoredValues.h"

namespace {

QString storedField(const Record& record, const std::string& name) {
    auto found = record.find(name);
    return found == record.end() ? QString() : fromStored(found->second);
}

QString multiLineText(const Record& record, const std::string& name) {
    auto found = record.find(name);
    return found == record.end() ? QString() : multiLineFromStored(found->second);
}

std::string storedMultiLine(const QPlainTextEdit& edit) {
    return multiLineToStored(edit.toPlainText());
}

QPlainTextEdit* multiLineEdit(const char* name) {
    auto* edit = named(new QPlainTextEdit, name);
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 4);
    return edit;
}

// A command's prompt text up to its first line break.
QString commandLabel(const Command& command) {
    const QString status = QString::fromStdString(command.status);
    return status.left(status.indexOf('\n'));
}

}  // namespace

AutoMacroDialog::AutoMacroDialog(const Record& record, Prompt& prompt, QWidget* parent)
    : QDialog(parent),
      record_(record),
      prompt_(prompt),
      title_(named(new QLineEdit(storedField(record, "Title")), "title")),
      pattern_(multiLineEdit("pattern")),
      sendString_(multiLineEdit("sendString")),
      sound_(named(new QLineEdit(storedField(record, "PlaySound")), "sound")),
      command_(named(new QComboBox, "command")) {
    setWindowTitle(QString::fromStdString(AutoMacroPage::RecordCaption(record)));
    pattern_->setPlainText(multiLineText(record, "Pattern"));
    sendString_->setPlainText(multiLineText(record, "SendString"));
    fillCommands();

    auto* browse = named(new QPushButton("찾아보기..."), "browseSound");
    connect(browse, &QPushButton::clicked, this, [this] { browseSound(); });
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(sound_);
    soundRow->addWidget(browse);

    auto* form = new QFormLayout(this);
    form->addRow("이름(&N):", title_);
    form->addRow("찾을 문자열 패턴(&P):", pattern_);
    form->addRow("보낼 문자열(&W):", sendString_);
    form->addRow("소리 효과(&S):", soundRow);
    form->addRow("단축 명령(&K):", command_);
    form->addRow(OkCancelButtons(this));
}

// "(없음)", then each command with a prompt text. A stored id the table lacks stays as it is.
void AutoMacroDialog::fillCommands() {
    command_->addItem("(없음)", 0);
    for (const Command& c : commandTable())
        if (!c.status.empty()) command_->addItem(commandLabel(c), c.id);
    auto stored = record_.find("Cmd");
    const int id = stored == record_.end() ? 0 : parseDecimal(stored->second);
    int index = command_->findData(id);
    if (index < 0) {
        command_->addItem(QString::number(id), id);
        index = command_->count() - 1;
    }
    command_->setCurrentIndex(index);
}

void AutoMacroDialog::browseSound() {
    const QString start = sound_->text().isEmpty() ? QString() : QFileInfo(sound_->text()).path();
    const QString file =
        QFileDialog::getOpenFileName(this, "소리 파일 찾기", start, "소리 파일 (*.wav)");
    if (!file.isEmpty()) sound_->setText(file);
}

void AutoMacroDialog::accept() {
    Record edited = record_;
    edited["Title"] = toStored(title_->text());
    edited["Pattern"] = storedMultiLine(*pattern_);
    edited["SendString"] = storedMultiLine(*sendString_);
    edited["PlaySound"] = toStored(sound_->text());
    edited["Cmd"] = std::to_string(command_->currentData().toInt());
    if (std::optional<std::string> refusal = AutoMacroPage::CheckRecord(edited)) {
        prompt_.tell(*refusal, PromptIcon::Warning);
        (edited["Title"].empty() ? static_cast<QWidget*>(title_) : pattern_)->setFocus();
        return;
    }
    record_ = std::move(edited);
    QDialog::accept();
}

bool AutoMacroDialog::Edit(Record& record, Prompt& prompt, QWidget* parent) {
    AutoMacroDialog dialog(record, prompt, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    record = dialog.Result();
    return true;
}
