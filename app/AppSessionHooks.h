#pragma once
// The one set of session hooks the program hands its session. The parts built around the
// session (dialler, transfer bridge, pictures, internet connection) plug in here, each
// forwarding to an object of its own.
#include "link/DialerHooks.h"
#include "link/SessionHooks.h"
#include "link/TransferBridge.h"
#include "platform/Prompt.h"

class AppSessionHooks : public SessionHooks {
public:
    explicit AppSessionHooks(Prompt& prompt) : prompt_(prompt) {}

    // Attached to the session by the start-up; the front end gives it its view.
    DialerHooks& Dialer() { return dialer_; }
    TransferBridge& Transfers() { return transfers_; }

    void DialEntry(const Record& entry) override { dialer_.DialEntry(entry); }
    bool OnLine(std::string_view line, bool partial) override {
        return dialer_.OnLine(line, partial);
    }
    void OnConnectionChanged(bool online) override { dialer_.OnConnectionChanged(online); }
    void OnZmodemRequest(int code) override { transfers_.OnZmodemRequest(code); }
    void OnHostImageTransfer() override { transfers_.OnHostImageTransfer(); }

    // The internet connection is not there yet.
    void ConnectInternet(const Record& /*entry*/) override {
        prompt_.tell("인터넷 연결 기능은 아직 사용할 수 없습니다.", PromptIcon::Information);
    }

private:
    Prompt& prompt_;
    DialerHooks dialer_;
    TransferBridge transfers_;
};
