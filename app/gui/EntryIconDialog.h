#pragma once
// "아이콘 변경": the shipped entry icons to choose from.
#include <QIcon>
#include <QWidget>
#include <optional>

#include "auto/CRecordStore.h"

// The icon an entry or service record shows.
QIcon EntryIcon(const Record& record);
// The index chosen; nothing when cancelled.
std::optional<int> ChooseEntryIcon(QWidget* parent, int current);
