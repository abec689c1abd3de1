#pragma once
// The internet connection: asks before connecting, checks that dial-up networking can be used,
// hands the modem over to it, dials (the entry of the settings, or the connector program for
// "Ruzedaz" entries), opens the address in the browser and remembers the connection it made so
// that closing can offer to end it. After a failed dial the modem is opened again.
// User-interface thread only.
#include <memory>
#include <optional>
#include <string>

#include "auto/Registry.h"
#include "link/ConnectorDial.h"
#include "link/DialupBackend.h"
#include "link/SessionFrame.h"
#include "platform/EventLoop.h"
#include "platform/ProcessLauncher.h"
#include "platform/Prompt.h"

class CQuillonDoc;

struct InternetContext {
    CQuillonDoc& doc;
    EventLoop& loop;
    Prompt& prompt;
    Registry& registry;
    SessionFrame& frame;
    DialupBackend& backend;
    ProcessLauncher& launcher;
    std::string connector;  // the connector program of "Ruzedaz" entries
};

// The address handed to the browser: http, https and ftp addresses as they are, a bare host
// name (with an optional port and path) with "http://" before it; nullopt for anything else.
std::optional<std::string> BrowsableAddress(const std::string& address);

class InternetDialer {
public:
    static constexpr int kFailedReopenMs = 4500;    // after a failed dial, then the modem
    static constexpr int kNotFoundReopenMs = 1000;  // connected, but no connection is up
    static constexpr int kHangUpPauseMs = 3000;
    static constexpr int kWaitPollMs = 100;

    explicit InternetDialer(const InternetContext& context);
    ~InternetDialer();
    InternetDialer(const InternetDialer&) = delete;
    InternetDialer& operator=(const InternetDialer&) = delete;

    // address: opened once connected ("" for the start page); dialer: the entry's "Dialer".
    // Returns once dialling has started or was refused; the dial ends later.
    void ConnectInternet(const std::string& address, const std::string& dialer);
    // Ends the connection this program made, then pauses.
    void HangUpInternet();
    // True while the connection this program made is still up; forgets it otherwise.
    bool IsInternetConnected();
    // The name of that connection, "" when none is up.
    std::string InternetConnection() { return IsInternetConnected() ? activeConnection_ : ""; }
    bool Dialling() const { return dialling_; }
    // The hang-up command while the connection this program made is up: asks whether to end
    // it and then gives the modem back. False (nothing asked) when no such connection is up.
    bool OfferHangUp();

private:
    bool confirm();
    bool checksPass(bool connector);
    void startProgram(const std::string& program, const std::string& notFoundText,
                      const std::string& failedText);
    void dialEnded(int code, bool connector);
    void pollCancel();
    void openAddress();
    void reopenModemAfter(int ms);

    InternetContext ctx_;
    ConnectorDial connectorDial_;
    bool dialling_ = false;
    std::string activeConnection_;  // the connection this program made, "" for none
    std::string dialled_;           // the entry being dialled ("" for the connector)
    std::string address_;           // to open once connected
    std::unique_ptr<WaitNotice> notice_;
    int cancelTimer_ = -1;
    int reopenTimer_ = -1;
};
