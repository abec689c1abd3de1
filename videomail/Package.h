#pragma once
// The self-playing package: the player template byte for byte, zero bytes up to 150000, then
// the message. The player finds the message at 150000 and plays it there.
#include <string>

enum class PackageResult { Built, NoTemplate, TemplateTooLarge, CannotWrite };

PackageResult BuildPackage(const std::string& templatePath, const std::string& messagePath,
                           const std::string& packagePath);
// What to tell the user (UTF-8); empty for Built.
std::string packageMessage(PackageResult result);
