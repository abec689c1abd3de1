#include "app/tty/TtyProgram.h"

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#include "app/AppStartup.h"
#include "app/tty/HostTerminal.h"
#include "app/tty/TtyDialerLine.h"
#include "app/tty/TtyFrontEnd.h"
#include "app/tty/TtyPictures.h"
#include "app/tty/TtyTransferLine.h"
#include "auto/ProgramExit.h"
#include "platform/PollEventLoop.h"

namespace {

// Character widths come from LC_CTYPE, which must be a UTF-8 one.
void useUtf8Locale() {
    std::setlocale(LC_CTYPE, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

int fail(HostTerminal& terminal, const std::string& message) {
    terminal.Restore();
    std::fprintf(stderr, "quilite: %s\n", message.c_str());
    return 1;
}

}  // namespace

int RunTtyProgram(const std::vector<std::string>& words, const Record* entry) {
    useUtf8Locale();
    HostTerminal terminal(0, 1);
    std::string error;
    if (!terminal.Enter(error)) {
        std::fprintf(stderr, "quilite: %s\n", error.c_str());
        return 2;
    }
    PollEventLoop loop;
    TtyFrontEnd front(loop, terminal);
    TtyDialerLine dialerLine([&front](TtyPanel* panel) { front.ShowPanel(panel); });

    AppStartup app(front.Questions());
    if (!app.Open()) return app.Error().empty() ? 0 : fail(terminal, app.Error());
    front.ApplyScreenSettings(app.StoredScreenSettings());
    CQuillonDoc& doc = app.CreateSession(loop, front.View(), front);
    app.Hooks().Dialer().SetView(&dialerLine);
    TransferBridge& transfers = app.Hooks().Transfers();
    TtyTransferLine transferLine(transfers, [&front](TtyPanel* panel) { front.ShowPanel(panel); });
    transfers.SetView(&transferLine);
    front.SetTransfers(&transfers);
    front.Attach(doc);
    TtyPictures pictures(loop, app.registry(),
                         [&front](const std::string& text) { front.ShowStatus(text); });
    app.Hooks().Pictures().Attach(doc, loop, app.registry(), front.Questions(), pictures);
    front.SetInternet(app.Hooks().Internet());
    front.EnableCapture(app.registry());
    front.EnableMacroList(app.registry());
    front.EnableNavigation(app.registry());
    front.EnableChat();
    front.EnableDosMode();
    entry ? doc.StartOnEntry(*entry) : doc.Start(words);
    if (!doc.Closing()) front.Run();
    terminal.Restore();
    front.Detach();
    app.End();  // the pictures are let go first
    transfers.SetView(nullptr);
    setProgramExiting(true);
    return 0;
}
