// The terminal view's commands: copying and pasting, colour restore, rows, the scroll-back and
// the mode toggles, each toggle stored in "Settings" when it changes. The view gets the loop,
// the prompt and its stored modes here too.
#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/CommandRegistration.h"
#include "auto/CSettingsSection.h"
#include "link/CQuillonDoc.h"
#include "term/CopyText.h"
#include "term/TWServices.h"

namespace {

constexpr char kVT220Notice[] =
    "VT220 펑션키 모드에서는 VT220의 펑션키인 F1~F20이\nVT220 전용으로 사용되므로 퀼론 98 메뉴 "
    "명령용\n단축키인 Alt+F4, Ctrl+F8, F4등이 제대로 작동되지 않습니다.";

struct StoredMode {
    int command;
    bool ViewModes::*flag;
    const char* setting;  // null: not stored
};

const StoredMode kModes[] = {
    {Cmd::SmartMouse, &ViewModes::smartMouse, "UseIMouse"},
    {Cmd::Wallpaper, &ViewModes::wallpaper, nullptr},
    {Cmd::BadukMode, &ViewModes::badukMode, "BadukMode"},
    {Cmd::AutoCopy, &ViewModes::autoCopy, "AutoCopy"},
    {Cmd::VT220, &ViewModes::vt220, "VT220"},
};

ViewModes storedModes(Registry& registry) {
    CSettingsSection settings(registry, "Settings");
    ViewModes modes;
    for (const StoredMode& m : kModes)
        if (m.setting) modes.*m.flag = settings.GetInt(m.setting, modes.*m.flag) != 0;
    return modes;
}

void toggleMode(CMainFrame& frame, const StoredMode& mode) {
    ViewModes modes = frame.View().Modes();
    const bool on = !(modes.*mode.flag);
    modes.*mode.flag = on;
    frame.View().SetModes(modes);
    if (mode.setting) CSettingsSection(frame.registry(), "Settings").SetInt(mode.setting, on);
    if (mode.command == Cmd::VT220 && on)
        frame.prompt().tell(kVT220Notice, PromptIcon::Information);
}

void registerModes(CMainFrame& frame) {
    CQuillonView& view = frame.View();
    view.SetModes(storedModes(frame.registry()));
    for (const StoredMode& mode : kModes)
        frame.SetCommand(mode.command, {[&frame, &mode] { toggleMode(frame, mode); },
                                        [&view, &mode] { return view.Modes().*mode.flag; }});
    frame.SetCommand(Cmd::Johab, {[&frame] { frame.Doc()->SetUseJohab(!frame.Doc()->UseJohab()); },
                                  [&frame] { return frame.Doc() && frame.Doc()->UseJohab(); },
                                  [&frame] { return frame.Doc() != nullptr; }});
}

void registerClipboard(CMainFrame& frame) {
    CQuillonView& view = frame.View();
    frame.SetCommand(Cmd::Copy, {[&view] { view.CopySelection(); }, nullptr,
                                 [&view] { return view.Selection().Active(); }});
    frame.SetCommand(Cmd::Paste, {[&view] { view.PasteFrom(QClipboard::Clipboard); }});
    frame.SetCommand(Cmd::CopyScreen, {[&frame] {
                         if (frame.View().CopyScreen()) frame.ShowStatus(kCopyScreenStatus);
                     }});
    frame.SetCommand(Cmd::CopyScrollback, {[&frame] {
                         if (frame.View().CopyScrollback()) frame.ShowStatus(kCopyScrollbackStatus);
                     }});
}

void registerScreen(CMainFrame& frame) {
    CQuillonView& view = frame.View();
    frame.SetCommand(Cmd::RestoreColors, {[&frame] {
                         CQuillonDoc* doc = frame.Doc();
                         RestoreColors(frame.View(), doc ? doc->Interpreter() : nullptr);
                     }});
    frame.SetCommand(Cmd::AddRow,
                     {[&view] { view.ChangeRows(1); }, nullptr,
                      [&frame, &view] { return CanAddRow(view.Rows(), frame.isMaximized()); }});
    frame.SetCommand(Cmd::RemoveRow,
                     {[&view] { view.ChangeRows(-1); }, nullptr,
                      [&frame, &view] { return CanRemoveRow(view.Rows(), frame.isMaximized()); }});
    frame.SetCommand(Cmd::ScrollBack, {[&view] { view.ScrollBy(-view.Rows()); }});
}

}  // namespace

void registerViewCommands(CMainFrame& frame) {
    frame.View().SetServices(frame.loop(), frame.prompt());
    registerModes(frame);
    registerClipboard(frame);
    registerScreen(frame);
}
