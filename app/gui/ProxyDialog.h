#pragma once
// The telnet proxy dialog of the "텔넷" page: the proxy's host and port, the user name sent at
// its "Username: " prompt and the prompt after which the host is asked for.
#include <QDialog>

#include "app/gui/CommPageValues.h"

class QLineEdit;

class ProxyDialog : public QDialog {
public:
    explicit ProxyDialog(const ProxySettings& settings, QWidget* parent = nullptr);
    // The host trimmed; an empty port is -1.
    ProxySettings Settings() const;

private:
    QLineEdit* host_;
    QLineEdit* port_;
    QLineEdit* user_;
    QLineEdit* prompt_;
};
