#pragma once
// Capture in the tty front end: after the command key and "l", one more key chooses what to do
// (l start or finish, p pause, v finish and view, w save the screen, o text or code mode);
// the status line shows "갈무리" while a capture runs. The editor opens through the desktop
// when a display is reachable, else in this terminal ($VISUAL, $EDITOR, sensible-editor).
#include <functional>
#include <memory>

#include "app/tty/HostTerminal.h"
#include "link/SessionCapture.h"
#include "platform/ProcessLauncher.h"

class TtyCapture : public SessionCaptureHost {
public:
    // The question shown on the status line after the command key and "l".
    static constexpr char kKeyQuestion[] =
        " 갈무리: l 시작/끝  p 잠시 중지  v 끝내고 보기  w 화면 저장  o 글자/코드";

    TtyCapture(CQuillonDoc& doc, SessionFrame& frame, Registry& registry, Prompt& prompt,
               TWView& view, HostTerminal& terminal, ProcessLauncher& launcher,
               std::function<void()> redraw, std::function<void()> terminalBack);

    Capture& capture() { return capture_; }
    // The key after "l": false for keys that choose nothing.
    bool OnKey(char key);
    // " 갈무리" while recording or paused, else "".
    std::string StatusText() const;

    void OpenInEditor(const std::string& path) override;
    void CaptureChanged() override { redraw_(); }

private:
    void toggleMode();

    HostTerminal& terminal_;
    ProcessLauncher& launcher_;
    std::function<void()> redraw_;        // the status line changed
    std::function<void()> terminalBack_;  // an editor gave the terminal back: draw it all
    Capture capture_;
};
