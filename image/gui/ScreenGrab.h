#pragma once
// Screen and window grabs as surfaces and DIBs, through Qt. Empty (null) where the platform
// refuses to grab, as Wayland does.
#include <QWidget>

#include "image/Dib.h"
#include "image/Surface.h"

Surface CopyScreenToBitmap(Rect rect);  // a negative left or top is clipped to 0
HDIB CopyScreenToDIB(Rect rect);
// which 1: the whole window with its frame; 2: the client area; other: nothing.
Surface CopyWindowToBitmap(QWidget* window, int which);
HDIB CopyWindowToDIB(QWidget* window, int which);
// True-colour screens have no palette: 0 entries, and the halftone palette stands for it.
int PalEntriesOnDevice();
Palette GetSystemPalette();
// A surface of a Qt image (0xFFRRGGBB rows).
Surface surfaceFromImage(const QImage& image);
