#include "app/gui/GuiProgram.h"

#include <QApplication>

#include "app/AppStartup.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/DialerDialog.h"
#include "app/gui/EndSignals.h"
#include "app/gui/FileManagerSheet.h"
#include "app/gui/GuiPictures.h"
#include "app/gui/InternetCommands.h"
#include "app/gui/QtEventLoop.h"
#include "app/gui/QtPrompt.h"
#include "app/gui/SplashWindow.h"
#include "app/gui/TransferCommands.h"
#include "app/gui/TransferProgressWindow.h"
#include "auto/ProgramExit.h"
#include "baduk/gui/BadukWindows.h"
#include "image/gui/ImageHost.h"
#include "platform/DataFolder.h"
#include "term/TWServices.h"

int ShowGuiStartError(int argc, char** argv, const std::string& message) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QtPrompt::kProgramName);
    QtPrompt().tell(message, PromptIcon::Error);
    return 1;
}

int RunGuiProgram(int argc, char** argv, const std::vector<std::string>& words,
                  const GuiOptions& options, const Record* entry) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QtPrompt::kProgramName);
    QApplication::setDesktopFileName("quilite");
    QApplication::setWindowIcon(QIcon(QString::fromStdString(dataFolder() + "/quilite.png")));
    QtEventLoop loop;
    QtPrompt prompt;

    AppStartup app(prompt);
    if (!app.Open()) {
        if (app.Error().empty()) return 0;
        prompt.tell(app.Error(), PromptIcon::Error);
        return 1;
    }
    InstanceCounter& copies = app.copies();
    CMainFrame frame(app.registry(), loop, prompt);
    prompt.setParent(&frame);
    frame.View().ApplyScreenSettings(app.StoredScreenSettings());
    const bool positionTaken = frame.RestorePlacement(
        [&copies](QPoint corner) { return copies.PositionTakenByOther(corner.x(), corner.y()); });
    frame.windowMoved = [&copies](QPoint corner) {
        copies.RecordWindowPosition(corner.x(), corner.y());
    };
    CQuillonDoc& doc = app.CreateSession(loop, frame.View(), frame);
    frame.Attach(doc);
    SetImageHost({&prompt, &frame.View()});
    InstallBadukWindows({&prompt, &app.registry(), &frame}, [&doc](const char* text) {
        VTPuts(text, [&doc](std::string_view bytes) { doc.SendText(bytes); });
    });
    GuiPictures pictures;
    app.Hooks().Pictures().Attach(doc, loop, app.registry(), prompt, pictures);
    frame.View().screenCleared = [&app] { app.Hooks().Pictures().OnScreenCleared(); };
    DialerDialog dialer(&frame);
    app.Hooks().Dialer().SetView(&dialer);
    registerInternetCommands(frame, *app.Hooks().Internet(), *app.Hooks().Dialup());
    TransferBridge& transfers = app.Hooks().Transfers();
    TransferProgressWindow progress(transfers, &frame,
                                    [&frame] { OpenFileManager(frame, RecordKind::ReceivedFile); });
    transfers.SetView(&progress);
    registerTransferCommands(frame, transfers);
    transfers.SetPictureOpener(GuiPictures::ZImageOpener(frame.View()));
    EndSignals endSignals(loop, [&frame] { frame.EndNow(); });
    frame.show();
    const bool connecting = !words.empty() || entry;
    if (SplashAllowed({options.noSplash, copies.SecondInstance(), connecting, positionTaken}))
        SplashWindow::Show(dataFolder() + "/quilite.bmp", frame);
    entry ? doc.StartOnEntry(*entry) : doc.Start(words);
    if (!doc.Closing()) loop.run();
    app.End();
    frame.View().screenCleared = nullptr;
    RemoveBadukWindows();
    transfers.SetPictureOpener(nullptr);
    app.Hooks().Dialer().SetView(nullptr);
    transfers.SetView(nullptr);
    frame.SaveWindowState();
    setProgramExiting(true);
    return 0;
}
