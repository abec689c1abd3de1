#pragma once
// The session's window for benchmarks that run the session without one: nothing is shown.
#include "link/SessionFrame.h"

class NoFrame : public SessionFrame {
public:
    void SetTitle(const std::string&) override {}
    void ShowStatus(const std::string&) override {}
    void SetOnline(bool) override {}
    void SetLinkMode(int, const std::string&) override {}
    void ClearScreen() override {}
    bool ScrolledBack() override { return false; }
    void HandOff(const std::vector<std::string>&) override {}
    void OpenCommSettings() override {}
};
