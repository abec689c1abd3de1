#pragma once
// File dialogs of the window: Qt's own (not the desktop's) file dialog, so that a choice list,
// check boxes and an extra button can sit under the file list.
#include <QStringList>
#include <string>

// "텍스트 파일 (*.txt)|*.txt|모든 파일|*.*|" as Qt's name filters: "텍스트 파일 (*.txt)",
// "모든 파일 (*.*)"; a label's own parenthesised patterns give way to the pair's patterns.
QStringList qtNameFilters(const std::string& filter);
