#include "app/gui/PortSettingsDialog.h"

#include <QComboBox>
#include <QFormLayout>

#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"

namespace {

struct Choice {
    QString text;
    QVariant value;
};

QComboBox* list(const std::vector<Choice>& choices, const QVariant& current, const char* name) {
    auto* box = named(new QComboBox, name);
    for (const Choice& c : choices)
        box->addItem(c.text, c.value);
    box->setCurrentIndex(std::max(box->findData(current), 0));
    return box;
}

std::vector<Choice> speeds() {
    std::vector<Choice> choices;
    for (int baud : PortSettings::supportedSpeeds())
        choices.push_back({QString::number(baud), baud});
    return choices;
}

}  // namespace

PortSettingsDialog::PortSettingsDialog(const QString& modem, const PortSettings& s, QWidget* parent)
    : QDialog(parent),
      speed_(list(speeds(), s.baud, "speed")),
      dataBits_(list({{"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}}, s.dataBits, "dataBits")),
      parity_(list({{"없음", 'N'}, {"짝수", 'E'}, {"홀수", 'O'}}, s.parity, "parity")),
      stopBits_(list({{"1", 1}, {"2", 2}}, s.stopBits, "stopBits")),
      flow_(list({{"하드웨어 (CTS)", true}, {"없음", false}}, s.ctsFlow, "flow")) {
    setWindowTitle(QString("%1 등록 정보").arg(modem));
    auto* form = new QFormLayout(this);
    form->addRow("최대 속도(&S):", speed_);
    form->addRow("데이터 비트(&D):", dataBits_);
    form->addRow("패리티(&P):", parity_);
    form->addRow("정지 비트(&B):", stopBits_);
    form->addRow("흐름 제어(&F):", flow_);
    form->addRow(OkCancelButtons(this));
}

PortSettings PortSettingsDialog::Settings() const {
    PortSettings s;
    s.baud = speed_->currentData().toInt();
    s.dataBits = dataBits_->currentData().toInt();
    s.parity = static_cast<char>(parity_->currentData().toInt());
    s.stopBits = stopBits_->currentData().toInt();
    s.ctsFlow = flow_->currentData().toBool();
    return s;
}
