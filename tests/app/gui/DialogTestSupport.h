#pragma once
// What the settings dialog tests share: a fresh profile, the QApplication, scripted answers to
// message boxes, the controls of a dialog by object name, and a hand for the next modal dialog.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "auto/CSettingsSection.h"
#include "platform/ScriptedPrompt.h"
#include "tests/app/gui/GuiTestApp.h"
#include "tests/auto/TempProfile.h"

class DialogTest : public TempProfile {
protected:
    DialogTest() { guiTestApp(); }

    template <class Widget>
    static Widget* control(const QWidget& dialog, const char* name) {
        auto* widget = dialog.findChild<Widget*>(name);
        EXPECT_TRUE(widget) << name;
        return widget;
    }

    // Runs `act` on the modal dialog that opens next, once it is showing; `act` closes it.
    template <class Dialog>
    static void whenShown(std::function<void(Dialog&)> act) {
        auto* timer = new QTimer(qApp);
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        });
        timer->start(10);
    }

    std::string setting(const std::string& section, const std::string& name) {
        return CSettingsSection(*registry, section).GetString(name);
    }
    void set(const std::string& section, const std::string& name, const std::string& value) {
        CSettingsSection(*registry, section).SetString(name, value);
    }

    ScriptedPrompt prompt;
};
