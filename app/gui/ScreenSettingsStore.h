#pragma once
// What the screen settings dialog offers and keeps: the size and leading choices, the Hangul
// fonts and wallpaper bitmaps it lists, the recently chosen ones ("RecentFont",
// "RecentBitmap": "File1", ... newest first) and the `Screen` record it writes.
#include <string>
#include <vector>

#include "auto/RecentList.h"
#include "auto/Registry.h"
#include "term/ScreenSettings.h"

RecentList recentHangulFonts(Registry& registry);
RecentList recentBitmaps(Registry& registry);

std::vector<int> FontSizeChoices();  // 10, 12, ... 26
std::vector<int> LeadingChoices();   // 0 ... 9
// "%d 픽셀", as both lists show their choices.
std::string PixelText(int pixels);

// Paths (UTF-8): the recently chosen files that still exist, newest first, then the ".hft"
// files of the Fonts folder, or the ".bmp" files of the `Picture` folder; each path once.
std::vector<std::string> HangulFontChoices(Registry& registry);
std::vector<std::string> BitmapChoices(Registry& registry);

// Writes the whole `Screen` record and puts the chosen Hangul font and wallpaper first in
// their recent lists. False when the store refused.
bool StoreScreenSettings(Registry& registry, const ScreenSettings& settings);
