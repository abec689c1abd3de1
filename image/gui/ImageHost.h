#pragma once
// What the picture windows need from the program that shows them: its questions, the terminal
// view they are placed against, and the cell where a picture receive's window appears. Set once
// when the terminal view is made.
#include <QPointer>
#include <QWidget>

#include "platform/Prompt.h"

struct ImageHost {
    Prompt* prompt = nullptr;
    QPointer<QWidget> view;  // the terminal view; windows are placed from its top-left corner
};

void SetImageHost(const ImageHost& host);
const ImageHost& CurrentImageHost();
