#pragma once
// Draws a message's caption over a picture: centred at the bottom of the strip from (0, 120) to
// (176, 144), white, on blue when the background is opaque. Needs a QGuiApplication.
#include <string>

// rgb: a 176 x 144 RGB24 picture; caption: CP949 text.
void drawCaption(std::string& rgb, const std::string& caption, bool opaque);
