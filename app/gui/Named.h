#pragma once
// Controls carry object names, by which tests find them in a dialog.
#include <QObject>

template <class Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}
