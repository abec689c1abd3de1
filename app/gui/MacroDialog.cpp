#include "app/gui/MacroDialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/MenuHotKeys.h"
#include "app/gui/DialogButtons.h"
#include "app/gui/HotKeyEdit.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"
#include "auto/MacroPage.h"

MacroDialog::MacroDialog(const MacroRow& row, Prompt& prompt, QWidget* parent)
    : QDialog(parent),
      row_(row),
      prompt_(prompt),
      key_(named(new HotKeyEdit(row.keyText), "hotKey")),
      name_(named(new QLineEdit(fromStored(row.name)), "name")),
      contents_(named(new QPlainTextEdit(multiLineFromStored(row.contents)), "contents")) {
    setWindowTitle(QString::fromStdString(MacroPage::RecordCaption(row)));
    contents_->setTabChangesFocus(true);
    contents_->setFixedHeight(contents_->fontMetrics().lineSpacing() * 4);
    auto* form = new QFormLayout(this);
    form->addRow("단축키(&K):", key_);
    form->addRow("이름(&N):", name_);
    form->addRow("내용(S):", contents_);
    form->addRow(OkCancelButtons(this));
}

void MacroDialog::accept() {
    const MacroRow edited{toStored(name_->text()), key_->KeyText(),
                          multiLineToStored(contents_->toPlainText())};
    if (!MacroPage::CheckRecord(edited, MenuHotKeys(), prompt_)) return;
    row_ = edited;
    QDialog::accept();
}

bool MacroDialog::Edit(MacroRow& row, Prompt& prompt, QWidget* parent) {
    MacroDialog dialog(row, prompt, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    row = dialog.Result();
    return true;
}
