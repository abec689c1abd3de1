#pragma once
// The auto log-in of one session: the current service's prompt patterns and ID list, and the
// state machine that answers the ID prompt (through the chooser, or at once with automatic
// selection) and then the password prompt, at most once each per connection. It also keeps the
// `Settings` switches "UseLogin" and "UseAutoLogin". User-interface thread only.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/LoginChoice.h"
#include "auto/Registry.h"
#include "platform/Clock.h"

// What the log-in step needs from the session it runs in.
class LoginPeer {
public:
    virtual ~LoginPeer() = default;
    // Still connected (the connection may end while the chooser is open).
    virtual bool Connected() = 0;
    virtual void SendLine(std::string_view text) = 0;
    // The terminal shows everything received so far, so the prompt is seen behind the chooser.
    virtual void RedrawNow() = 0;
    virtual void AttractUser() = 0;
    // The modal chooser over the service's IDs; false when cancelled.
    virtual bool ChooseLogin(const std::vector<Record>& ids, LoginChoice& choice) = 0;
};

class AutoLogin {
public:
    static constexpr int kWaiting = 0;  // waiting for the ID prompt
    static constexpr int kIdSent = 1;   // waiting for the password prompt
    static constexpr int kDone = -1;    // nothing more to do on this connection
    // The password goes only to a prompt that arrives this soon after the ID.
    static constexpr int64_t kPasswordWindowMs = 60000;

    AutoLogin(Registry& registry, Clock& clock);

    // Reads the service's (CP949) patterns and ID list and arms the state: 0, or -1 when the
    // service, a pattern or every ID is missing.
    void LoadLoginData(const std::string& service);
    // One step on a partial line (CP949); the caller runs it only while connected with nothing
    // waiting on the link.
    void LoginStep(std::string_view line, LoginPeer& peer);

    int State() const { return state_; }
    // Nothing more on this connection: no stored ID or password goes to its host.
    void Disarm() { finish(); }
    bool Pending() const { return state_ >= 0 && !choosing_; }
    // The ID sent on this connection (CP949), "" before one was.
    const std::string& OwnId() const { return ownId_; }
    const std::vector<Record>& Ids() const { return ids_; }

    bool UseLogin() const { return useLogin_; }
    bool UseAutoLogin() const { return useAutoLogin_; }
    // Flip and store the settings; return the new state.
    bool ToggleUseLogin();
    bool ToggleUseAutoLogin();

private:
    void answerIdPrompt(LoginPeer& peer);
    void answerPasswordPrompt(std::string_view line, LoginPeer& peer);
    void setUseAutoLogin(bool on);
    void finish();

    Registry& registry_;
    Clock& clock_;
    bool useLogin_ = true;
    bool useAutoLogin_ = false;
    int state_ = kDone;
    bool choosing_ = false;  // the chooser is open: a nested idle pass must not step again
    unsigned loads_ = 0;     // counts LoadLoginData: a reload while choosing wins
    std::string loginString_, passwordString_;
    std::vector<Record> ids_;
    std::string ownId_, password_;
    int64_t idSentAtMs_ = 0;
};
