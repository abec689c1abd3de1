#pragma once
// The stored settings of the chat input bar (the `Chat` record) and of the memo windows (the
// `Settings` values "UseMemo", "MemoAutoHide", "MemoTopMost", "MemoPos", "MemoSize").
#include "auto/Registry.h"

struct ChatBarSettings {
    int bkColor = 0;  // palette indices 0-15
    int textColor = 15;
    int rows = 1;  // 1-9
    bool useCaption = true;

    // Values out of range are brought into it.
    static ChatBarSettings Load(Registry& registry);
    bool Save(Registry& registry) const;
};

struct MemoWindowSettings {
    static constexpr int kDefaultWidth = 320;
    static constexpr int kDefaultHeight = 200;

    bool useMemo = true;
    bool autoHide = true;
    bool topMost = false;
    int x = 0, y = 0;                                    // an unreadable "MemoPos" gives 0,0
    int width = kDefaultWidth, height = kDefaultHeight;  // also for an unreadable or empty size

    static MemoWindowSettings Load(Registry& registry);
    bool SaveFlags(Registry& registry) const;
    bool SavePlacement(Registry& registry) const;
};
