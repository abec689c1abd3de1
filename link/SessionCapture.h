#pragma once
// The capture of the session: its recorders hang on the session's view and interpreters, its
// messages go to the window's status bar and its records name the session's service and
// title. Each front end adds the editor, and the GUI the picture and the clipboard.
#include "link/CQuillonDoc.h"
#include "link/Capture.h"
#include "link/SessionFrame.h"

class SessionCaptureHost : public CaptureHost {
public:
    SessionCaptureHost(CQuillonDoc& doc, SessionFrame& frame) : doc_(doc), frame_(frame) {}

    void ShowStatus(const std::string& text) override { frame_.ShowStatus(text); }
    void SetRawTap(TWEmulator::RawTap tap) override { doc_.SetRawTap(std::move(tap)); }
    int64_t Now() override;
    std::string Service() override { return doc_.CurrentService(); }
    std::string Title() override { return doc_.Title(); }

private:
    CQuillonDoc& doc_;
    SessionFrame& frame_;
};

// The status-bar pane's text: "갈무리" while a capture records or pauses, else empty.
std::string capturePaneText(const Capture& capture);
