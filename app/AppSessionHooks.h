#pragma once
// The one set of session hooks the program hands its session. The parts built around the
// session (dialler, transfer bridge, pictures, internet connection) plug in here, each
// forwarding to an object of its own.
#include <memory>

#include "link/DialerHooks.h"
#include "link/InternetDialer.h"
#include "link/PppdBackend.h"
#include "link/SessionHooks.h"
#include "link/SessionPictures.h"
#include "link/TransferBridge.h"
#include "platform/Prompt.h"

class AppSessionHooks : public SessionHooks {
public:
    explicit AppSessionHooks(Prompt& prompt) : prompt_(prompt) {}

    // Attached to the session by the start-up; the front end gives it its view.
    DialerHooks& Dialer() { return dialer_; }
    TransferBridge& Transfers() { return transfers_; }
    SessionPictures& Pictures() { return pictures_; }

    // The internet connection through pppd, for the session of the start-up; detached before
    // the session goes. Null until then.
    void AttachInternet(CQuillonDoc& doc, EventLoop& loop, Registry& registry, SessionFrame& frame,
                        const std::string& connector);
    void DetachInternet();
    InternetDialer* Internet() { return internet_.get(); }
    DialupBackend* Dialup() { return backend_.get(); }

    void DialEntry(const Record& entry) override { dialer_.DialEntry(entry); }
    bool OnLine(std::string_view line, bool partial) override {
        return dialer_.OnLine(line, partial);
    }
    void OnConnectionChanged(bool online) override { dialer_.OnConnectionChanged(online); }
    void OnZmodemRequest(int code) override { transfers_.OnZmodemRequest(code); }
    void OnHostImageTransfer() override { transfers_.OnHostImageTransfer(); }
    void OnImageStart() override { pictures_.OnImageStart(); }
    void OnImageEnd() override { pictures_.OnImageEnd(); }

    void ConnectInternet(const std::string& address, const std::string& dialer) override {
        if (internet_) internet_->ConnectInternet(address, dialer);
    }
    std::string InternetConnection() override {
        return internet_ ? internet_->InternetConnection() : "";
    }
    void HangUpInternet() override {
        if (internet_) internet_->HangUpInternet();
    }

private:
    Prompt& prompt_;
    DialerHooks dialer_;
    ProcessLauncher launcher_;
    std::unique_ptr<PppdBackend> backend_;
    std::unique_ptr<InternetDialer> internet_;
    TransferBridge transfers_;
    SessionPictures pictures_;
};
