#pragma once
// The main window's service commands and bookmarks: the move and article commands, adding and
// editing bookmarks, the service's command values, and the menu "책갈피" with the bookmarks,
// those two commands and the recent locations.
#include <QMenu>
#include <QStringList>

class CMainFrame;
class CQuillonDoc;

void registerNavigationCommands(CMainFrame& frame);

// Refills the bookmark menu from the session (before it opens).
void FillBookmarkMenu(QMenu& menu, CMainFrame& frame);

// The lines of the history window's places: the recent locations, then the recent menus.
QStringList RecentPlaceLines(const CQuillonDoc& doc);
