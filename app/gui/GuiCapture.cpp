#include "app/gui/GuiCapture.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"

GuiCapture::GuiCapture(CMainFrame& frame, CQuillonDoc& doc)
    : SessionCaptureHost(doc, frame),
      frame_(frame),
      capture_(frame.registry(), frame.prompt(), frame.View(), *this) {
    registerCommands();
}

void GuiCapture::registerCommands() {
    using Mode = Capture::Mode;
    Capture& c = capture_;
    auto on = [&c] { return c.state() != Capture::State::Off; };
    auto off = [&c] { return c.state() == Capture::State::Off; };
    frame_.SetCommand(Cmd::CaptureStart, {[&c] { c.StartOrFinish(); }});
    frame_.SetCommand(
        Cmd::CapturePause,
        {[&c] { c.PauseCapture(); }, [&c] { return c.state() == Capture::State::Paused; }, on});
    frame_.SetCommand(Cmd::CaptureEnd, {[&c] { c.FinishCaptureWithSave(); }, nullptr, on});
    frame_.SetCommand(Cmd::CaptureView, {[&c] { c.FinishCaptureAndView(); }, nullptr, on});
    frame_.SetCommand(Cmd::CaptureText, {[&c] { c.SetMode(Mode::Text); },
                                         [&c] { return c.mode() == Mode::Text; }, off});
    frame_.SetCommand(Cmd::CaptureCode, {[&c] { c.SetMode(Mode::Code); },
                                         [&c] { return c.mode() == Mode::Code; }, off});
    frame_.SetCommand(Cmd::SaveScreen, {[&c] { c.SaveScreenCommand(); }});
}

void GuiCapture::OpenInEditor(const std::string& path) {
    if (frame_.Launcher().openDocument(path).pid <= 0) ShowStatus("편집기를 시작하지 못했습니다.");
}

bool GuiCapture::SavePicture(const std::string& path) {
    return frame_.View().ScreenPicture().save(QString::fromStdString(path), "BMP");
}

bool GuiCapture::CopyToClipboard(bool picture) {
    if (!picture) return frame_.View().CopyScreen();
    QGuiApplication::clipboard()->setImage(frame_.View().ScreenPicture());
    return true;
}

// The start command reads "갈무리 끝(&L)..." while a capture runs, and the finish command
// shows the shortcut then.
void GuiCapture::CaptureChanged() {
    const bool running = capture_.state() != Capture::State::Off;
    frame_.Panes().SetCapture(running);
    if (QAction* start = frame_.Action(Cmd::CaptureStart))
        start->setText(running ? "갈무리 끝(&L)..." : "갈무리 시작(&L)");
    if (QAction* finish = frame_.Action(Cmd::CaptureEnd)) {
        const std::string text = findCommand(Cmd::CaptureEnd)->text;
        const std::string shortcut = "\t" + findCommand(Cmd::CaptureStart)->shortcut;
        finish->setText(QString::fromStdString(running ? text + shortcut : text));
    }
    frame_.UpdateCommands();
}
