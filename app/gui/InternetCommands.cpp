#include "app/gui/InternetCommands.h"

#include <QInputDialog>
#include <memory>

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"
#include "link/CQuillonDoc.h"

namespace {

void askAddressAndConnect(CMainFrame& frame, InternetDialer& dialer) {
    bool ok = false;
    const QString address = QInputDialog::getText(&frame, "인터넷 연결",
                                                  "인터넷 주소(&A):", QLineEdit::Normal, "", &ok);
    if (ok) dialer.ConnectInternet(address.trimmed().toStdString(), "");
}

}  // namespace

void registerInternetCommands(CMainFrame& frame, InternetDialer& dialer, DialupBackend& dialup) {
    frame.dialup = &dialup;
    // Opened folder windows are collected by a launcher that lives as long as the commands.
    auto launcher = std::make_shared<ProcessLauncher>();
    frame.SetCommand(Cmd::ConnectInternet,
                     {[&frame, &dialer] { askAddressAndConnect(frame, dialer); }, nullptr,
                      [&dialer] { return !dialer.Dialling(); }});
    frame.SetCommand(Cmd::DialupFolder, {[&dialup, launcher] {
                         launcher->reap();
                         launcher->openDocument(dialup.entriesFolder());
                     }});
    frame.SetCommand(Cmd::HangUp, {[&frame, &dialer] {
                         if (!dialer.OfferHangUp() && frame.Doc()) frame.Doc()->HangUp(false);
                     }});
}
