#pragma once
// Copies a file or a whole folder as `cp -R --preserve=mode,timestamps` does: links stay links,
// content, mode and times are kept. A wait notice, when given, is polled between blocks; a
// cancelled copy removes the file it was writing.
#include <string>

#include "platform/Prompt.h"

struct TreeCopyResult {
    int error = 0;     // 0, an errno, or ECANCELED
    std::string path;  // where it failed
};

TreeCopyResult copyTree(const std::string& source, const std::string& target, WaitNotice* wait);
