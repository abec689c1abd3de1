#pragma once
// The icons of entries and services: a set shipped in the data folder's "Icons" ("entry0.xpm",
// "entry1.xpm", ...), chosen by "IconIndex". An "IconFile" imported from another system stays
// in the record untouched; the first icon of the set stands for it, as for an index the set
// does not have.
#include <string>

#include "auto/CRecordStore.h"

inline constexpr int kEntryIconCount = 6;

std::string EntryIconPath(int index);
std::string EntryIconPath(const Record& record);
