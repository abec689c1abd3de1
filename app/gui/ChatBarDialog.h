#pragma once
// The chat input bar's settings (the `Chat` record): the field's background and text colours
// from the terminal palette, its rows (1-9) and whether the head and tail texts are used.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QSpinBox>

#include "auto/ChatSettings.h"

class ChatBarDialog : public QDialog {
public:
    explicit ChatBarDialog(const ChatBarSettings& settings, QWidget* parent = nullptr);
    // What the dialog shows now.
    ChatBarSettings Settings() const;

    QComboBox* bkColor;
    QComboBox* textColor;
    QSpinBox* rows;
    QCheckBox* useCaption;
};
