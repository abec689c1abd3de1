#include "app/gui/LoginSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/CommandList.h"
#include "app/gui/Named.h"
#include "platform/TextCodec.h"

namespace {

QString fromCp949(const std::string& text) {
    return QString::fromStdString(cp949ToUtf8Lossy(text));
}

std::string toCp949(const QLineEdit* edit) {
    return utf8ToCp949Lossy(edit->text().toStdString());
}

std::string field(const Record& record, const char* name) {
    auto found = record.find(name);
    return found == record.end() ? std::string() : found->second;
}

QDialogButtonBox* okCancel(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("확인", QDialogButtonBox::AcceptRole);
    buttons->addButton("취소", QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

// A dialog whose OK runs a check first: the check keeps it open by returning false.
class CheckedDialog : public QDialog {
public:
    CheckedDialog(QWidget* parent, std::function<bool()> check)
        : QDialog(parent), check_(std::move(check)) {}
    void accept() override {
        if (check_()) QDialog::accept();
    }

private:
    std::function<bool()> check_;
};

}  // namespace

LoginSettingsDialog::LoginSettingsDialog(Registry& registry, Prompt& prompt,
                                         const std::string& service, QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      page_(registry, prompt, service),
      services_(new QComboBox),
      list_(
          named(new CommandList(LoginSettingsPage::kColumns, {LoginSettingsPage::kColumnWidths[0],
                                                              LoginSettingsPage::kColumnWidths[1]}),
                "ids")) {
    setWindowTitle(LoginSettingsPage::kTitle);
    for (const std::string& name : page_.Services())
        services_->addItem(fromCp949(name));
    services_->setCurrentText(fromCp949(service));
    connect(services_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        page_.SelectService(utf8ToCp949Lossy(name.toStdString()));
        showRows();
    });

    // Registered in the menu's order; the last two stay hidden.
    QPushButton* edit = commandButton(0, "edit", &LoginSettingsDialog::EditSelected);
    QPushButton* add = commandButton(1, "add", &LoginSettingsDialog::AddRow);
    QPushButton* remove = commandButton(2, "delete", &LoginSettingsDialog::DeleteSelected);
    commandButton(3, "makeDefault", &LoginSettingsDialog::MakeSelectedDefault)->hide();
    advanced_ = commandButton(4, "advanced", &LoginSettingsDialog::EditPatterns);
    advanced_->hide();
    list_->doubleClicked = [this](const std::vector<size_t>& selected) {
        page_.DoubleClick(selected, recordDialog(selected.empty()));
        showRows();
    };

    auto* selector = new QFormLayout;
    selector->addRow(LoginSettingsPage::kServiceLabel, services_);
    auto* rowButtons = new QHBoxLayout;
    for (QPushButton* button : {add, remove, edit})
        rowButtons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(selector);
    layout->addWidget(list_);
    layout->addLayout(rowButtons);
    layout->addWidget(okCancel(*this));
    showRows();
}

QPushButton* LoginSettingsDialog::commandButton(size_t index, const char* name,
                                                void (LoginSettingsDialog::*run)()) {
    auto* button = named(new QPushButton(LoginSettingsPage::kMenu[index], this), name);
    connect(button, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
    list_->RegisterButton(button);
    return button;
}

void LoginSettingsDialog::showRows() {
    list_->clear();
    for (const Record& row : page_.Rows())
        list_->AddRow({fromCp949(field(row, "Title")), fromCp949(field(row, "Name")),
                       QString::fromStdString(LoginSettingsPage::PasswordStars(row))});
    advanced_->setEnabled(page_.CanEditPatterns());
}

LoginSettingsPage::RecordDialog LoginSettingsDialog::recordDialog(bool adding) {
    return
        [this, adding](Record& record) { return EditLoginRecord(this, prompt_, record, adding); };
}

void LoginSettingsDialog::EditSelected() {
    const std::vector<size_t> rows = list_->SelectedRows();
    if (rows.empty()) return;
    page_.Edit(rows.front(), recordDialog(false));
    showRows();
}

void LoginSettingsDialog::AddRow() {
    page_.Add(recordDialog(true));
    showRows();
}

void LoginSettingsDialog::DeleteSelected() {
    page_.Delete(list_->SelectedRows());
    showRows();
}

void LoginSettingsDialog::MakeSelectedDefault() {
    const std::vector<size_t> rows = list_->SelectedRows();
    page_.MakeDefault(rows.empty() ? std::nullopt : std::optional<size_t>(rows.front()));
    showRows();
}

void LoginSettingsDialog::EditPatterns() {
    if (!page_.CanEditPatterns()) return;
    EditLoginPatterns(this, page_);
    showRows();
}

void LoginSettingsDialog::accept() {
    if (!page_.Save()) {
        prompt_.tell("사용자 로그인 정보를 저장하지 못했습니다.", PromptIcon::Warning);
        return;
    }
    QDialog::accept();
}

bool EditLoginRecord(QWidget* parent, Prompt& prompt, Record& record, bool adding) {
    auto* id = new QLineEdit(fromCp949(field(record, "Title")));
    auto* name = new QLineEdit(fromCp949(field(record, "Name")));
    auto* password = new QLineEdit(QString::fromStdString(field(record, "Password")));
    password->setEchoMode(QLineEdit::Password);
    auto edited = [&] {
        Record out = record;
        out["Title"] = toCp949(id);
        out["Name"] = toCp949(name);
        out["Password"] = password->text().toStdString();
        return out;
    };
    CheckedDialog dialog(parent, [&] {
        const std::optional<std::string> refusal = LoginSettingsPage::CheckRecord(edited());
        if (refusal) prompt.tell(*refusal, PromptIcon::Warning);
        return !refusal;
    });
    dialog.setWindowTitle(QString::fromStdString(LoginSettingsPage::RecordCaption(record, adding)));
    auto* form = new QFormLayout(&dialog);
    form->addRow("아이디(&U):", id);
    form->addRow("이름(&N):", name);
    form->addRow("비밀번호(&P):", password);
    form->addRow(okCancel(dialog));
    if (dialog.exec() != QDialog::Accepted) return false;
    record = edited();
    return true;
}

void EditLoginPatterns(QWidget* parent, LoginSettingsPage& page) {
    auto* login = new QLineEdit(fromCp949(page.Patterns().login));
    auto* password = new QLineEdit(fromCp949(page.Patterns().password));
    CheckedDialog dialog(parent, [&] {
        return page.TakePatterns({toCp949(login), toCp949(password)});
    });
    dialog.setWindowTitle(LoginSettingsPage::kAdvancedTitle);
    auto* group = new QGroupBox("사용자 로그인 패턴");
    auto* form = new QFormLayout(group);
    form->addRow("아이디(&I):", login);
    form->addRow("비밀번호(&P):", password);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(group);
    layout->addWidget(okCancel(dialog));
    dialog.exec();
}
