#pragma once
// How the entry and modem dialogs refuse a field that failed its check: the message with a
// warning icon, the field emptied and given the focus; the dialog stays open.
#include <QLineEdit>
#include <optional>
#include <string>

#include "platform/Prompt.h"

// True when there was a problem to show.
inline bool refuseField(Prompt& prompt, QLineEdit* field,
                        const std::optional<std::string>& problem) {
    if (!problem) return false;
    prompt.tell(*problem, PromptIcon::Warning);
    field->clear();
    field->setFocus();
    return true;
}
