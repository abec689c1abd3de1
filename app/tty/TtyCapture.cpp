#include "app/tty/TtyCapture.h"

#include <stdlib.h>

#include <cctype>

#include "app/tty/ForegroundProgram.h"

TtyCapture::TtyCapture(CQuillonDoc& doc, SessionFrame& frame, Registry& registry, Prompt& prompt,
                       TWView& view, HostTerminal& terminal, ProcessLauncher& launcher,
                       std::function<void()> redraw, std::function<void()> terminalBack)
    : SessionCaptureHost(doc, frame),
      terminal_(terminal),
      launcher_(launcher),
      redraw_(std::move(redraw)),
      terminalBack_(std::move(terminalBack)),
      capture_(registry, prompt, view, *this) {}

bool TtyCapture::OnKey(char key) {
    switch (std::tolower(static_cast<unsigned char>(key))) {
        case 'l':
            capture_.StartOrFinish();
            break;
        case 'p':
            capture_.PauseCapture();
            break;
        case 'v':
            capture_.FinishCaptureAndView();
            break;
        case 'w':
            capture_.SaveScreenCommand();
            break;
        case 'o':
            toggleMode();
            break;
        default:
            return false;
    }
    return true;
}

void TtyCapture::toggleMode() {
    const bool code = capture_.mode() == Capture::Mode::Text;
    if (!capture_.SetMode(code ? Capture::Mode::Code : Capture::Mode::Text)) {
        ShowStatus("갈무리하는 동안에는 방식을 바꿀 수 없습니다.");
        return;
    }
    ShowStatus(code ? "화면상에 보이지 않는 특수 코드까지 갈무리합니다."
                    : "화면상에 보이는 글자를 갈무리합니다.");
}

std::string TtyCapture::StatusText() const {
    const std::string pane = capturePaneText(capture_);
    return pane.empty() ? "" : " " + pane;
}

void TtyCapture::OpenInEditor(const std::string& path) {
    if (getenv("DISPLAY") || getenv("WAYLAND_DISPLAY")) {
        if (launcher_.openDocument(path).pid > 0) return;
    }
    const int status = RunInForeground(terminal_, EditorCommand(path));
    terminalBack_();
    if (status == 127 || status < 0) ShowStatus("편집기를 시작하지 못했습니다.");
}
