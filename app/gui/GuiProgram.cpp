#include "app/gui/GuiProgram.h"

#include <QApplication>

#include "app/AppStartup.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/QtEventLoop.h"
#include "app/gui/QtPrompt.h"
#include "auto/ProgramExit.h"

int RunGuiProgram(int argc, char** argv, const std::vector<std::string>& words, const GuiOptions&) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QtPrompt::kProgramName);
    QApplication::setDesktopFileName("quilite");
    QtEventLoop loop;
    QtPrompt prompt;

    AppStartup app(prompt);
    if (!app.Open()) {
        if (app.Error().empty()) return 0;
        prompt.tell(app.Error(), PromptIcon::Error);
        return 1;
    }
    CMainFrame frame(app.registry(), loop, prompt);
    prompt.setParent(&frame);
    frame.View().ApplyScreenSettings(app.StoredScreenSettings());
    CQuillonDoc& doc = app.CreateSession(loop, frame.View(), frame);
    frame.Attach(doc);
    frame.show();
    doc.Start(words);
    if (!doc.Closing()) loop.run();
    app.End();
    frame.SaveWindowState();
    setProgramExiting(true);
    return 0;
}
