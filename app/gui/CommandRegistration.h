#pragma once
// Where the commands of the main window get what they do: the view's commands (copying,
// pasting, rows, the view's toggles) and the settings dialogs. The frame registers its own.
class CMainFrame;

void registerViewCommands(CMainFrame& frame);
void registerDialogCommands(CMainFrame& frame);
