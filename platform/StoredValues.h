#pragma once
// How values kept in the profile store read as numbers and paths, for every folder that reads
// stored settings (the terminal's screen settings as well as the session's).
#include <string>
#include <string_view>

// Decimal text with an optional sign, read up to the first non-digit ("abc" reads as 0);
// values beyond the int range saturate.
int parseDecimal(std::string_view text);

// A stored file or folder name (CP949) as a file-system path; empty unless it is absolute, so
// that a name brought from another system ("C:\...") is never taken relative to anywhere.
std::string storedFilePath(const std::string& stored);
