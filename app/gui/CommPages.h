#pragma once
// The "일반", "텔넷" and "터미널" pages of the communication settings: thin widgets over the
// values of CommPageValues.
#include "app/gui/CCommSheet.h"
#include "app/gui/CommPageValues.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

// "초기 통신 모드": modem or telnet mode at the next start.
class CGeneralPage : public CommSheetPage {
public:
    explicit CGeneralPage(Registry& registry);
    void Apply() override;

private:
    Registry& registry_;
    QRadioButton* modem_;
    QRadioButton* telnet_;
};

// The telnet proxy and the desktop's telnet handler.
class CTelnetPage : public CommSheetPage {
public:
    CTelnetPage(Registry& registry, Prompt& prompt);
    void Apply() override;
    // The proxy dialog's result, as its OK hands it over.
    void SetProxy(const ProxySettings& proxy) { values_.proxy = proxy; }
    const ProxySettings& Proxy() const { return values_.proxy; }

private:
    void editProxy();

    Registry& registry_;
    Prompt& prompt_;
    TelnetValues values_;
    QCheckBox* useProxy_;
    QCheckBox* handler_;
};

// Line ends: how Enter is sent and which received line ends become CR LF.
class CTermPage : public CommSheetPage {
public:
    CTermPage(Registry& registry, CQuillonDoc* doc);
    void Apply() override;

private:
    Registry& registry_;
    CQuillonDoc* doc_;
    QComboBox* sendCR_;
    QCheckBox* recvCR2CRLF_;
    QCheckBox* recvLF2CRLF_;
};
