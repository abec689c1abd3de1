#pragma once
// The keyboard macros of the session's service as a list over the tty's screen (the command
// key's "k"): name, key text and the first line of the contents. A number or Enter runs one,
// which is how keys a terminal cannot report (Ctrl+Shift+A, Ctrl+1) are used here. "+", "e" and
// "d" add, edit and delete through questions on the status line: the key is pressed (or, after
// Enter, its key text typed), name and contents typed in key notation; the settings page's
// checks apply, and each change is saved at once.
#include <optional>

#include "app/tty/TtyPickList.h"
#include "app/tty/TtyPrompt.h"
#include "auto/MacroPage.h"
#include "link/CQuillonDoc.h"

class TtyMacroList {
public:
    TtyMacroList(CQuillonDoc& doc, Registry& registry, TtyPrompt& prompt);

    // The list the front end shows, its rows read afresh.
    TtyPickList& Refreshed();

private:
    bool onKey(const TtyKey& key, std::optional<TtyPickRow> current);
    void add();
    void edit(size_t row);
    void remove(size_t row);
    // The record dialog on the status line: false when cancelled.
    bool askRecord(MacroRow& row);
    std::optional<std::string> askKeyText(const std::string& keyText);
    // The page's row that is the session's row `row` (another copy may have changed them).
    std::optional<size_t> pageRow(const MacroPage& page, size_t row);
    void save(MacroPage& page);

    CQuillonDoc& doc_;
    Registry& registry_;
    TtyPrompt& prompt_;
    TtyPickList list_;
};
