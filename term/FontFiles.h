#pragma once
// Where the shipped fonts are: the "Fonts" folder of the program's data.
#include <string>
#include <vector>

// The data folder's "Fonts", generated at build time.
std::string FontsFolder();
// The Hangul bitmap font tried when the font set is created.
std::string DefaultHangulFontPath();
// The raster window face.
std::string RasterFacePath();
// The ".hft" files of the Fonts folder, sorted by name.
std::vector<std::string> HangulFontFiles();
// The files of `folder` whose names end in `extension` (".bmp"), in any case, sorted by name.
std::vector<std::string> FolderFiles(const std::string& folder, const std::string& extension);
