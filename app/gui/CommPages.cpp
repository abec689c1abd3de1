#include "app/gui/CommPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/gui/Named.h"
#include "app/gui/ProxyDialog.h"
#include "link/CQuillonDoc.h"

CGeneralPage::CGeneralPage(Registry& registry)
    : CommSheetPage("일반"),
      registry_(registry),
      modem_(named(new QRadioButton("모뎀모드"), "modemMode")),
      telnet_(named(new QRadioButton("텔넷모드"), "telnetMode")) {
    auto* group = new QGroupBox("초기 통신 모드");
    auto* modes = new QVBoxLayout(group);
    modes->addWidget(modem_);
    modes->addWidget(telnet_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
    const bool modemMode = GeneralValues::Load(registry_).modemMode;
    modem_->setChecked(modemMode);
    telnet_->setChecked(!modemMode);
}

void CGeneralPage::Apply() {
    GeneralValues{modem_->isChecked()}.Store(registry_);
}

CTelnetPage::CTelnetPage(Registry& registry, Prompt& prompt)
    : CommSheetPage("텔넷"),
      registry_(registry),
      prompt_(prompt),
      values_(TelnetValues::Load(registry)),
      useProxy_(named(new QCheckBox("Proxy 서버를 사용하여 텔넷 연결(&P)"), "useProxy")),
      handler_(named(new QCheckBox("텔넷 주소를 Quilite로 열기(&D)"), "telnetHandler")) {
    useProxy_->setChecked(values_.useProxy);
    handler_->setChecked(values_.telnetHandler);
    auto* settings = new QPushButton("설정(&S)...");
    connect(settings, &QPushButton::clicked, this, [this] { editProxy(); });
    auto* proxy = new QGroupBox("Proxy 서버");
    auto* proxyLayout = new QVBoxLayout(proxy);
    proxyLayout->addWidget(useProxy_);
    proxyLayout->addWidget(settings, 0, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(proxy);
    layout->addWidget(handler_);
    layout->addStretch();
}

void CTelnetPage::editProxy() {
    ProxyDialog dialog(values_.proxy, this);
    if (dialog.exec() == QDialog::Accepted) SetProxy(dialog.Settings());
}

void CTelnetPage::Apply() {
    values_.useProxy = useProxy_->isChecked();
    values_.telnetHandler = handler_->isChecked();
    if (!values_.Store(registry_))
        prompt_.tell("텔넷 주소를 여는 프로그램을 설정하지 못했습니다.", PromptIcon::Warning);
}

CTermPage::CTermPage(Registry& registry, CQuillonDoc* doc)
    : CommSheetPage("터미널"),
      registry_(registry),
      doc_(doc),
      sendCR_(named(new QComboBox, "sendCR")),
      recvCR2CRLF_(named(new QCheckBox("<CR>을 <CR+LF>로 해석함"), "recvCR2CRLF")),
      recvLF2CRLF_(named(new QCheckBox("<LF>을 <CR+LF>로 해석함"), "recvLF2CRLF")) {
    sendCR_->addItems({"<CR>", "<LF>", "<CR>+<LF>"});
    const TerminalValues values = TerminalValues::Load(registry_);
    sendCR_->setCurrentIndex(values.sendCR);
    recvCR2CRLF_->setChecked(values.recvCR2CRLF);
    recvLF2CRLF_->setChecked(values.recvLF2CRLF);
    auto* form = new QFormLayout(this);
    form->addRow("<Enter> 키 전송(&E):", sendCR_);
    form->addRow(recvCR2CRLF_);
    form->addRow(recvLF2CRLF_);
}

void CTermPage::Apply() {
    const TerminalValues values{sendCR_->currentIndex(), recvCR2CRLF_->isChecked(),
                                recvLF2CRLF_->isChecked()};
    values.Store(registry_);
    values.ApplyTo(doc_ ? doc_->Interpreter() : nullptr);
}
