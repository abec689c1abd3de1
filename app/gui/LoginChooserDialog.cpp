#include "app/gui/LoginChooserDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/TextCodec.h"

namespace {

QString fromCp949(const std::string& text) {
    return QString::fromStdString(cp949ToUtf8Lossy(text));
}

std::string field(const Record& record, const char* name) {
    auto found = record.find(name);
    return found == record.end() ? std::string() : found->second;
}

}  // namespace

LoginChooserDialog::LoginChooserDialog(QWidget* parent, Prompt& prompt,
                                       const std::vector<Record>& ids, const LoginChoice& choice)
    : QDialog(parent),
      prompt_(prompt),
      ids_(ids),
      list_(new QTreeWidget),
      id_(new QLineEdit(fromCp949(choice.id))),
      password_(new QLineEdit(QString::fromStdString(choice.password))),
      autoSelect_(new QCheckBox("사용자 자동선택(&A)")) {
    setWindowTitle("사용자 로그인");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels(QString("   아이디\t비밀번호").split('\t'));
    const int average = fontMetrics().averageCharWidth();
    list_->setColumnWidth(0, 10 * average);
    list_->setColumnWidth(1, 7 * average);
    for (const Record& record : ids)
        new QTreeWidgetItem(list_, {fromCp949(field(record, "Title")), "***"});
    password_->setEchoMode(QLineEdit::Password);
    autoSelect_->setChecked(choice.autoSelect);

    auto* fields = new QFormLayout;
    fields->addRow("아이디(&U):", id_);
    fields->addRow("비밀번호(&P):", password_);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("확인", QDialogButtonBox::AcceptRole);
    buttons->addButton("취소", QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(fields);
    layout->addWidget(autoSelect_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { takeRow(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    if (id_->text().isEmpty())
        id_->setFocus();
    else if (password_->text().isEmpty())
        password_->setFocus();
}

void LoginChooserDialog::takeRow() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0 || row >= static_cast<int>(ids_.size())) return;
    id_->setText(fromCp949(field(ids_[row], "Title")));
    password_->setText(QString::fromStdString(field(ids_[row], "Password")));
}

LoginChoice LoginChooserDialog::Choice() const {
    return {utf8ToCp949Lossy(id_->text().toStdString()), password_->text().toStdString(),
            autoSelect_->isChecked()};
}

void LoginChooserDialog::accept() {
    if (std::optional<std::string> refusal = CheckLoginId(Choice().id)) {
        prompt_.tell(*refusal, PromptIcon::Warning);
        id_->setFocus();
        return;
    }
    QDialog::accept();
}

bool ChooseLoginInDialog(QWidget* parent, Prompt& prompt, const std::vector<Record>& ids,
                         LoginChoice& choice) {
    LoginChooserDialog dialog(parent, prompt, ids, choice);
    if (dialog.exec() != QDialog::Accepted) return false;
    choice = dialog.Choice();
    return true;
}
