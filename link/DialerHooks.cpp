#include "link/DialerHooks.h"

void DialerHooks::Detach() {
    if (ModemDialer* open = Dialer()) open->Close();
    dialer_.reset();
    context_.reset();
}

void DialerHooks::DialEntry(const Record& entry) {
    if (!context_) return;
    if (ModemDialer* open = Dialer()) {
        if (view_) view_->ShowDialer(*open);
        return;
    }
    dialer_ = std::make_unique<ModemDialer>(*context_, entry, view_);
    dialer_->Open();
}

bool DialerHooks::OnLine(std::string_view line, bool partial) {
    ModemDialer* open = Dialer();
    if (!open || partial) return false;
    open->OnResultLine(line);
    return true;
}

void DialerHooks::OnConnectionChanged(bool online) {
    if (ModemDialer* open = Dialer(); open && online) open->OnOnline();
}
