#pragma once
// "%s 등록 정보": a modem's line settings (speed, data bits, parity, stop bits, flow control),
// kept with the modem as its default configuration.
#include <QDialog>

#include "link/PortSettings.h"

class QComboBox;

class PortSettingsDialog : public QDialog {
public:
    PortSettingsDialog(const QString& modem, const PortSettings& settings,
                       QWidget* parent = nullptr);
    PortSettings Settings() const;

private:
    QComboBox* speed_;
    QComboBox* dataBits_;
    QComboBox* parity_;
    QComboBox* stopBits_;
    QComboBox* flow_;
};
