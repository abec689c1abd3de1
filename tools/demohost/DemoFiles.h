#pragma once
// The files the demo host offers for download, generated at build time: a Korean text, a
// random file, a file with a Korean name and a picture.
#include <string>

// $QUILITE_DATA_DIR/DemoFiles when that is set, else the installed folder when it holds the
// files, else the build's generated folder (for builds run in place).
std::string DemoFilesFolder();
