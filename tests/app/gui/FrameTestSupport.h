#pragma once
// A main window over a session with fake links, in a fresh profile store, on the offscreen
// platform; the window is the session's frame.
#include <QApplication>
#include <QTest>
#include <memory>

#include "app/gui/CMainFrame.h"
#include "app/gui/QtEventLoop.h"
#include "auto/CSettingsSection.h"
#include "link/CQuillonDoc.h"
#include "tests/app/gui/GuiTestApp.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/link/SessionTestSupport.h"

class FrameTest : public TempProfile {
protected:
    ~FrameTest() override {
        doc.reset();
        frame.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CMainFrame& makeFrame() {
        doc.reset();
        frame = std::make_unique<CMainFrame>(*registry, loop, prompt, clock);
        return *frame;
    }
    // The session in telnet mode, with the window as its frame.
    CQuillonDoc& startSession(const std::vector<std::string>& words = {}) {
        doc = std::make_unique<CQuillonDoc>(
            SessionContext{loop, prompt, *registry, sound, frame->View(), links, *frame, &hooks});
        frame->Attach(*doc);
        doc->Start(words);
        return *doc;
    }
    void showActive() {
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    std::string setting(const std::string& name) {
        return CSettingsSection(*registry, "Settings").GetString(name);
    }
    void setSetting(const std::string& name, const std::string& value) {
        CSettingsSection(*registry, "Settings").SetString(name, value);
    }
    void addEntry(int kind, const Record& entry) {
        CRecordStore store(*registry);
        ASSERT_TRUE(store.SelectKind(kind));
        std::optional<RegKey> key = store.AddRecord(store.Section());
        ASSERT_TRUE(key);
        ASSERT_TRUE(store.WriteRecord(*key, entry));
    }

    QApplication& app = guiTestApp();  // before the loop
    QtEventLoop loop;
    ScriptedPrompt prompt;
    FakeClock clock;
    RecordingSoundPlayer sound;
    FakeLinks links;
    RecordingHooks hooks;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CQuillonDoc> doc;
};
