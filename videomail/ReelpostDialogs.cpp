#include "videomail/ReelpostDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/TextCodec.h"

namespace {

QString fromCp949(const std::string& text) {
    return QString::fromStdString(cp949ToUtf8Lossy(text));
}

std::string toCp949(const QString& text) {
    return utf8ToCp949Lossy(text.toStdString());
}

QLineEdit* lineFor(const std::string& cp949) {
    return new QLineEdit(fromCp949(cp949));
}

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("확인"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("취소"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QGroupBox* section(const QString& title, std::initializer_list<std::pair<QString, QWidget*>> rows) {
    auto* box = new QGroupBox(title);
    auto* form = new QFormLayout(box);
    for (const auto& [label, field] : rows)
        form->addRow(label, field);
    return box;
}

}  // namespace

ReelpostSettingsDialog::ReelpostSettingsDialog(const ReelpostSettings& settings, QWidget* parent)
    : QDialog(parent),
      server(lineFor(settings.server)),
      mailProgram(new QCheckBox(QStringLiteral("메일 프로그램으로 보내기"))),
      withPlayer(new QCheckBox(QStringLiteral("재생 프로그램과 함께 보내기"))),
      email(lineFor(settings.email)),
      signFile(lineFor(settings.signFile)),
      appPath(lineFor(settings.appPath)),
      settings_(settings) {
    setWindowTitle(QStringLiteral("설정"));
    mailProgram->setChecked(settings.protocol == 1);
    withPlayer->setChecked(settings.withPlayer == 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(section(QStringLiteral("네트워크"), {{QStringLiteral("메일 서버"), server},
                                                           {QString(), mailProgram},
                                                           {QString(), withPlayer}}));
    layout->addWidget(section(QStringLiteral("사용자"), {{QStringLiteral("전자우편 주소"), email},
                                                         {QStringLiteral("서명 파일"), signFile}}));
    layout->addWidget(
        section(QStringLiteral("프로그램"), {{QStringLiteral("재생 프로그램 폴더"), appPath}}));
    layout->addWidget(okCancel(this));
}

// A protocol other than 0 and 1 is kept when the box is left as it was.
ReelpostSettings ReelpostSettingsDialog::settings() const {
    ReelpostSettings settings = settings_;
    settings.server = toCp949(server->text().trimmed());
    if (mailProgram->isChecked() != (settings.protocol == 1))
        settings.protocol = mailProgram->isChecked() ? 1 : 0;
    settings.withPlayer = withPlayer->isChecked() ? 1 : 0;
    settings.email = toCp949(email->text().trimmed());
    settings.signFile = toCp949(signFile->text());
    settings.appPath = toCp949(appPath->text());
    return settings;
}

SendDialog::SendDialog(std::function<bool(const SendForm&)> check, QWidget* parent)
    : QDialog(parent),
      to(new QLineEdit),
      cc(new QLineEdit),
      subject(new QLineEdit),
      body(new QPlainTextEdit),
      check_(std::move(check)) {
    setWindowTitle(QStringLiteral("비디오 메일 보내기"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("받는 사람"), to);
    form->addRow(QStringLiteral("참조"), cc);
    form->addRow(QStringLiteral("제목"), subject);
    form->addRow(QStringLiteral("내용"), body);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

SendForm SendDialog::form() const {
    return {toCp949(to->text()), toCp949(cc->text()), toCp949(subject->text()),
            toCp949(body->toPlainText())};
}

void SendDialog::accept() {
    if (check_(form())) QDialog::accept();
}

MailProgressWindow::MailProgressWindow(std::function<void()> cancel, QWidget* parent)
    : QDialog(parent), cancel_(std::move(cancel)), status_(new QLabel), bar_(new QProgressBar) {
    setWindowTitle(QStringLiteral("비디오 메일 보내기"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    auto* stop = new QPushButton(QStringLiteral("취소"));
    connect(stop, &QPushButton::clicked, this, [this] { cancel_(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    layout->addWidget(stop, 0, Qt::AlignRight);
}

void MailProgressWindow::setStatus(const QString& text) {
    status_->setText(text);
}

void MailProgressWindow::setPercent(int percent) {
    bar_->setValue(percent);
}

QString MailProgressWindow::status() const {
    return status_->text();
}

int MailProgressWindow::percent() const {
    return bar_->value();
}
