#pragma once
// The files the demo host offers for download, generated at build time: a Korean text, a
// random file, a file with a Korean name and a picture.
#include <string>

// The data folder's "DemoFiles".
std::string DemoFilesFolder();
