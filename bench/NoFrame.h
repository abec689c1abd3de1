#pragma once
// The session's window in the benchmarks, with nothing to show.
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
