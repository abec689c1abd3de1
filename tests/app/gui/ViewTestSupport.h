#pragma once
// The main window on the offscreen platform with its session on fake links: a telnet session
// that is online, keys and mouse events sent to the terminal view as the desktop would send
// them (shortcuts included), and the bytes that reached the link.
#include <QTest>

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"
#include "auto/CSettingsSection.h"
#include "tests/app/gui/GuiTestApp.h"
#include "tests/link/SessionTestSupport.h"

// Records what the view asks of the input method's Hangul switch.
class RecordingInputSwitch : public HangulInputSwitch {
public:
    std::optional<bool> HangulMode() override { return mode; }
    void SetHangulMode(bool on) override { mode = on; }
    std::optional<bool> mode;
};

class ViewTest : public TempProfile {
protected:
    ViewTest() {
        guiTestApp();
        window = std::make_unique<CMainFrame>(*registry, loop, prompt);
        doc = std::make_unique<CQuillonDoc>(
            SessionContext{loop, prompt, *registry, sound, view(), links, *window, &hooks});
        window->Attach(*doc);
        window->show();
        QApplication::setActiveWindow(window.get());
        view().setFocus();
        doc->Start({"127.0.0.1"});
        links.last->online = true;
        doc->OnIdle();
    }
    ~ViewTest() override {
        doc.reset();
        window.reset();
    }

    CQuillonView& view() { return window->View(); }
    FakeLink& link() { return *links.last; }
    // The bytes the keys sent since the last call.
    std::string sent() {
        std::string out = link().Output();
        link().ClearOutput();
        return out;
    }
    // Host bytes taken through the pump onto the screen.
    void receive(const std::string& bytes) {
        link().Feed(bytes);
        for (int i = 0; i < 100 && link().InputCount() > 0; ++i)
            doc->OnIdle();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&view(), k, modifiers);
    }
    // A key whose text the desktop gives as `text`.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers, const QString& text) {
        QTest::sendKeyEvent(QTest::Click, &view(), k, text, modifiers);
    }
    // The pixel at the middle of a screen cell.
    QPoint cellCentre(int column, int row) {
        const int cw = view().Fonts().CellWidth(), lh = view().Fonts().LineHeight();
        return {column * cw + cw / 2, row * lh + lh / 2};
    }
    // The left edge of a cell, where a selection boundary falls.
    QPoint cellEdge(int column, int row) {
        return {column * view().Fonts().CellWidth(), row * view().Fonts().LineHeight() + 2};
    }
    std::string setting(const std::string& name) {
        return CSettingsSection(*registry, "Settings").GetString(name);
    }

    QtEventLoop loop;
    ScriptedPrompt prompt;
    RecordingSoundPlayer sound;
    FakeLinks links;
    RecordingHooks hooks;
    std::unique_ptr<CMainFrame> window;
    std::unique_ptr<CQuillonDoc> doc;
};
