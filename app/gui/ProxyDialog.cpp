#include "app/gui/ProxyDialog.h"

#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"

namespace {

QLineEdit* field(const QString& text, const char* name) {
    return named(new QLineEdit(text), name);
}

}  // namespace

ProxyDialog::ProxyDialog(const ProxySettings& s, QWidget* parent)
    : QDialog(parent),
      host_(field(fromStored(s.host), "proxyHost")),
      port_(field(s.port >= 0 && s.port <= 65535 ? QString::number(s.port) : "", "proxyPort")),
      user_(field(fromStored(s.user), "proxyUser")),
      prompt_(field(fromStored(s.prompt), "proxyPrompt")) {
    setWindowTitle("Proxy 서버 설정");
    port_->setValidator(new QIntValidator(0, 65535, port_));
    auto* form = new QFormLayout(this);
    form->addRow("서버 이름(&H):", host_);
    form->addRow("포트 번호(&P):", port_);
    form->addRow("사용자 이름(&U):", user_);
    form->addRow("텔넷 프롬프트(&R):", prompt_);
    form->addRow(OkCancelButtons(this));
}

ProxySettings ProxyDialog::Settings() const {
    return {toStored(host_->text().trimmed()), port_->text().isEmpty() ? -1 : port_->text().toInt(),
            toStored(user_->text()), toStored(prompt_->text())};
}
