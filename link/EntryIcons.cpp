#include "link/EntryIcons.h"

#include "auto/CSettingsSection.h"
#include "link/ConnectionEntries.h"
#include "platform/DataFolder.h"

std::string EntryIconPath(int index) {
    if (index < 0 || index >= kEntryIconCount) index = 0;
    return dataFolder() + "/Icons/entry" + std::to_string(index) + ".xpm";
}

std::string EntryIconPath(const Record& record) {
    if (!EntryField(record, "IconFile").empty()) return EntryIconPath(0);
    return EntryIconPath(parseDecimal(EntryField(record, "IconIndex")));
}
