#pragma once
// Exports a subtree of the store as a REGEDIT4 file: CP949 text with CR LF line ends, keys
// depth-first in enumeration order, each with its unnamed value "@" first and then its named
// values in enumeration order. Values holding control characters are written as hex(1).
#include <optional>
#include <string>
#include <string_view>

#include "auto/Registry.h"

// Nothing when the key does not exist.
std::optional<std::string> exportRegText(Registry& registry, std::string_view fullPath);
bool exportRegFile(Registry& registry, std::string_view fullPath, const std::string& filePath,
                   std::string& error);
