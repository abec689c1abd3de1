#pragma once
// The newline conversion a sender may ask for: a lone LF becomes CR LF, CR LF stays, a CR
// right after a CR is dropped, every other byte stays.
#include <string>

std::string gfConvertNewlines(const std::string& data);
// Rewrites the file at path converted; false when it cannot be read or written.
bool gfConvertFileNewlines(const std::string& path);
