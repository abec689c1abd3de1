#pragma once
// Where the program keeps its data in the profile store. Paths are CP949, as stored.
#include <optional>
#include <string>

#include "auto/Registry.h"

// The application title "반트라 퀼론 98 Lite", which names the user root and the sound events.
const std::string& appTitle();
// HKEY_CURRENT_USER\Software\Vantra\<title>: every settings section and record list lives here.
const std::string& userRootPath();
// HKEY_LOCAL_MACHINE\Software\Vantra\<title>\1.0.0.0, with `Installer` and `InstalledPath`.
const std::string& installKeyPath();
// HKEY_CURRENT_USER\AppEvents\Schemes\Apps\<title>: one subkey per sound event.
const std::string& soundEventsPath();

// A section (or deeper key, "Settings\Capture") under the user root.
std::optional<RegKey> openSection(Registry& registry, const std::string& section);
std::optional<RegKey> createSection(Registry& registry, const std::string& section);
