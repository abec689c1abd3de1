#pragma once
// Capture in the main window: the seven capture commands with their marks and enable rules,
// the status bar's "갈무리" pane, the editor and folders opened through the desktop, the screen
// as a picture and on the clipboard.
#include "link/SessionCapture.h"

class CMainFrame;

class GuiCapture : public SessionCaptureHost {
public:
    GuiCapture(CMainFrame& frame, CQuillonDoc& doc);

    Capture& capture() { return capture_; }

    void OpenInEditor(const std::string& path) override;
    bool SavePicture(const std::string& path) override;
    bool CopyToClipboard(bool picture) override;
    void CaptureChanged() override;

private:
    void registerCommands();

    CMainFrame& frame_;
    Capture capture_;
};
