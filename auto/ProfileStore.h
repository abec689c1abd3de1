#pragma once
// Opening the user's profile store at start-up, including recovery from a damaged file.
#include <memory>
#include <string>

#include "auto/Registry.h"
#include "platform/Prompt.h"

// $XDG_CONFIG_HOME/quilite/profile.db
std::string defaultProfilePath();

// Opens the store at `path`, creating its folder (mode 0700) and file (mode 0600) when missing.
// A file that is damaged or not a store is never written to: it is renamed aside, the user is
// told through `prompt`, and a fresh store is made. Returns null with `error` set when no store
// can be opened at all.
std::unique_ptr<Registry> openProfileStore(const std::string& path, Prompt& prompt,
                                           std::string& error);
