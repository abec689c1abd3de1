#pragma once
// The capture host of the benchmarks: the recording stays where it is (the benchmark removes
// its folder), and finishing with the editor only notes its path.
#include <string>

#include "link/SessionCapture.h"

class KeepingCaptureHost : public SessionCaptureHost {
public:
    using SessionCaptureHost::SessionCaptureHost;
    void OpenInEditor(const std::string& path) override { recording = path; }
    std::string recording;
};
