#pragma once
// The picture window's commands that need no window: saving the received file under a name the
// user chooses, and making the decoded picture the desktop's wallpaper.
#include <string>

#include "image/ImageDoc.h"
#include "platform/ProcessLauncher.h"
#include "platform/Prompt.h"

// Asks for a name ("화상 저장", proposing the document's title) and copies the received file
// there; the document is then titled by the chosen file. False when cancelled or failed (the
// user was told).
bool savePictureFile(ImageDoc& doc, Prompt& prompt);
// The BMP the wallpaper is kept in, under the user's data folder.
std::string wallpaperPath();
// Saves the picture there and sets it with gsettings where the desktop has it, else says so.
bool setWallpaper(ImageDoc& doc, Prompt& prompt, ProcessLauncher& launcher);
