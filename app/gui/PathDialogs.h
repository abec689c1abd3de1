#pragma once
// "폴더 설정" (the five user folders: "찾아보기(&B)..." chooses one, "폴더 열기(&O)" opens it
// in the desktop's file manager) and "소리 설정" (a sound file for each sound event). OK
// stores the rows that changed.
#include <memory>

#include "app/gui/PathListDialog.h"
#include "auto/Registry.h"
#include "platform/ProcessLauncher.h"

std::unique_ptr<PathListDialog> MakeFolderSettingsDialog(Registry& registry, Prompt& prompt,
                                                         ProcessLauncher& launcher,
                                                         QWidget* parent = nullptr);
std::unique_ptr<PathListDialog> MakeSoundSettingsDialog(Registry& registry, Prompt& prompt,
                                                        QWidget* parent = nullptr);
