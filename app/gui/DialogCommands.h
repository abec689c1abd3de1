#pragma once
// What the settings commands of the main window do: the screen settings (stored, then applied
// to the view, which resizes the frame), the communication settings sheet, and the folder and
// sound settings, the auto log-in settings; and the lists of connection entries.
#include "link/ConnectionEntries.h"

class CMainFrame;
class CQuillonDoc;

void OpenScreenSettings(CMainFrame& frame);
void OpenCommSheet(CMainFrame& frame);
// "매크로 설정" on the session's current service; the icon panel then shows what it stored.
void OpenMacroSheet(CMainFrame& frame);
// The modem or telnet entries; the one chosen is connected by the session.
void OpenEntryList(CMainFrame& frame, EntryKind kind);
// After the modem device changed: a session in modem mode that is not connected opens and
// initialises the new device; otherwise the next opening uses it.
void ReopenModem(CQuillonDoc* doc);
