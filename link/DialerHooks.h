#pragma once
// The dialler's part of the session's hooks: a modem entry opens the dialler (one at most; asked
// for again, the open one is shown), complete received lines go to it while it is open and go
// no further, and the session going online ends its dialling as a success.
#include <memory>
#include <optional>
#include <string_view>

#include "link/DialerView.h"
#include "link/ModemDialer.h"
#include "link/SessionHooks.h"

class DialerHooks : public SessionHooks {
public:
    // The session to dial through; until then modem entries are not dialled.
    void Attach(const DialerContext& context) { context_.emplace(context); }
    // Before the session goes: an open dialler closes (its list is written back) and goes.
    void Detach();
    // The front end's view of the dialler; null: it runs unseen.
    void SetView(DialerView* view) { view_ = view; }
    // The open dialler, or null.
    ModemDialer* Dialer() { return dialer_ && dialer_->IsOpen() ? dialer_.get() : nullptr; }

    void DialEntry(const Record& entry) override;
    bool OnLine(std::string_view line, bool partial) override;
    void OnConnectionChanged(bool online) override;

private:
    std::optional<DialerContext> context_;
    DialerView* view_ = nullptr;
    // A closed dialler stays until the next one replaces it, since it closes from inside its
    // own calls.
    std::unique_ptr<ModemDialer> dialer_;
};
