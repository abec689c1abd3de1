#include "app/gui/DialogCommands.h"

#include "app/CommandTable.h"
#include "app/gui/CCommSheet.h"
#include "app/gui/CMacroSheet.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/ChatDocks.h"
#include "app/gui/CommandRegistration.h"
#include "app/gui/EntryListDialog.h"
#include "app/gui/FileManagerSheet.h"
#include "app/gui/LoginSettingsDialog.h"
#include "app/gui/PathDialogs.h"
#include "app/gui/ScreenSettingsDialog.h"
#include "app/gui/ScreenSettingsStore.h"
#include "link/CQuillonDoc.h"

void ReopenModem(CQuillonDoc* doc) {
    if (!doc || doc->LinkMode() != CQuillonDoc::kModemMode || doc->Online() ||
        doc->TransferActive())
        return;
    if (doc->OpenModemLink()) doc->InitModem(true);
}

void OpenScreenSettings(CMainFrame& frame) {
    ScreenSettingsDialog dialog(frame.registry(), frame.prompt(), frame.View().Settings(), &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    const ScreenSettings settings = dialog.Settings();
    if (!StoreScreenSettings(frame.registry(), settings))
        frame.prompt().tell("화면 설정을 저장하지 못했습니다.", PromptIcon::Warning);
    frame.View().ApplyScreenSettings(settings);
    if (frame.Chat()) frame.Chat()->ApplySymbolFont();
}

void OpenCommSheet(CMainFrame& frame) {
    CQuillonDoc* doc = frame.Doc();
    CCommSheet sheet(
        {frame.registry(), frame.prompt(), doc, [doc] { ReopenModem(doc); }, {}, frame.dialup},
        &frame);
    sheet.exec();
}

void OpenMacroSheet(CMainFrame& frame) {
    CQuillonDoc* doc = frame.Doc();
    CMacroSheet sheet(frame.registry(), frame.prompt(), doc ? doc->CurrentService() : "", &frame);
    sheet.exec();
    frame.ServiceChanged();  // the session reloaded the list the sheet stored
}

void OpenEntryList(CMainFrame& frame, EntryKind kind) {
    EntryListDialog dialog(kind, frame.registry(), frame.prompt(), &frame);
    if (dialog.exec() == QDialog::Accepted && dialog.Chosen() && frame.Doc())
        frame.Doc()->ConnectEntry(*dialog.Chosen());
}

void registerDialogCommands(CMainFrame& frame) {
    // Started folder windows are collected by a launcher that lives as long as the commands.
    auto launcher = std::make_shared<ProcessLauncher>();
    frame.SetCommand(Cmd::ScreenSettings, {[&frame] { OpenScreenSettings(frame); }});
    frame.SetCommand(Cmd::CommSettings, {[&frame] { OpenCommSheet(frame); }});
    frame.SetCommand(Cmd::MacroSettings, {[&frame] { OpenMacroSheet(frame); }});
    frame.SetCommand(Cmd::ModemEntry, {[&frame] { OpenEntryList(frame, EntryKind::Modem); }});
    frame.SetCommand(Cmd::TelnetEntry, {[&frame] { OpenEntryList(frame, EntryKind::Telnet); }});
    frame.SetCommand(
        Cmd::FolderSettings, {[&frame, launcher] {
            launcher->reap();
            MakeFolderSettingsDialog(frame.registry(), frame.prompt(), *launcher, &frame)->exec();
        }});
    frame.SetCommand(Cmd::LoginSettings, {[&frame] {
                         LoginSettingsDialog(frame.registry(), frame.prompt(),
                                             frame.Doc() ? frame.Doc()->CurrentService() : "",
                                             &frame)
                             .exec();
                     }});
    frame.SetCommand(Cmd::FileManager,
                     {[&frame] { OpenFileManager(frame, RecordKind::ReceivedFile); }});
    frame.SetCommand(Cmd::SoundSettings, {[&frame] {
                         MakeSoundSettingsDialog(frame.registry(), frame.prompt(), &frame)->exec();
                     }});
}
