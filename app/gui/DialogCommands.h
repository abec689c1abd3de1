#pragma once
// What the settings commands of the main window do: the screen settings (stored, then applied
// to the view, which resizes the frame).
class CMainFrame;

void OpenScreenSettings(CMainFrame& frame);
