#pragma once
// Writes a surface as an 8-bit RGB PNG file (the tools' picture output).
#include <string>

#include "image/Surface.h"

bool SavePng(const Surface& picture, const std::string& path);
