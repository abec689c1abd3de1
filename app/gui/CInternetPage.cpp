#include "app/gui/CInternetPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/Named.h"

namespace {

// The internet service's own connection, explained differently.
const QString kServiceEntry = "Netquay";

}  // namespace

std::string CInternetPage::NetworkSettingsProgram() {
    return ProcessLauncher::programFound("nm-connection-editor") ? "nm-connection-editor" : "";
}

CInternetPage::CInternetPage(Registry& registry, DialupBackend& dialup)
    : CommSheetPage("인터넷 연결"),
      registry_(registry),
      dialup_(dialup),
      values_(LoadInternetSettings(registry)),
      autodial_(named(new QCheckBox("모뎀으로 인터넷에 연결(&M)"), "autodial")),
      profile_(named(new QComboBox, "profile")),
      properties_(named(new QPushButton("등록 정보(&R)"), "properties")),
      explanation_(named(new QLabel, "explanation")),
      askFirst_(named(new QCheckBox("항상 사용여부 묻기(&Q)"), "askFirst")) {
    auto* label = new QLabel("다음 전화 접속 네트워킹 연결 사용(&U):");
    label->setBuddy(profile_);
    explanation_->setWordWrap(true);
    auto* network = named(new QPushButton("인터넷 등록 정보(&I)"), "networkSettings");
    network->setEnabled(!NetworkSettingsProgram().empty());
    auto* folder = named(new QPushButton("전화 접속 네트워킹 폴더 열기"), "openFolder");

    auto* row = new QHBoxLayout;
    row->addWidget(profile_, 1);
    row->addWidget(properties_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(autodial_);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(explanation_);
    layout->addWidget(askFirst_);
    layout->addWidget(network, 0, Qt::AlignLeft);
    layout->addWidget(folder, 0, Qt::AlignLeft);
    layout->addStretch();

    for (const std::string& name : dialup_.entries())
        profile_->addItem(QString::fromStdString(name));
    profile_->setCurrentText(QString::fromStdString(values_.profile));
    autodial_->setChecked(values_.autodial);
    askFirst_->setChecked(values_.askFirst);
    showChoice();

    connect(autodial_, &QCheckBox::toggled, this, [this] { showChoice(); });
    connect(profile_, &QComboBox::currentTextChanged, this, [this] { showChoice(); });
    connect(properties_, &QPushButton::clicked, this, [this] {
        launcher_.openDocument(dialup_.entryFile(profile_->currentText().toStdString()));
    });
    connect(network, &QPushButton::clicked, this,
            [this] { launcher_.start({NetworkSettingsProgram()}, "", true); });
    connect(folder, &QPushButton::clicked, this,
            [this] { launcher_.openDocument(dialup_.entriesFolder()); });
}

void CInternetPage::showChoice() {
    const QString name = profile_->currentText();
    profile_->setEnabled(autodial_->isChecked() && profile_->count() > 0);
    properties_->setEnabled(autodial_->isChecked() &&
                            !dialup_.entryFile(name.toStdString()).empty());
    explanation_->setText(
        name == kServiceEntry
            ? "Netquay 인터넷 연결 서비스로 연결합니다. 접속 번호와 사용자 정보는 Netquay 설치 "
              "프로그램에서 설정합니다."
            : "인터넷 주소를 열 때 위의 전화 접속 네트워킹 연결로 전화를 겁니다. 연결의 전화 "
              "번호와 사용자 정보는 \"등록 정보\"에서 바꿉니다.");
}

void CInternetPage::Apply() {
    values_.autodial = autodial_->isChecked();
    values_.profile = profile_->currentText().toStdString();
    values_.askFirst = askFirst_->isChecked();
    StoreInternetSettings(registry_, values_);
}
