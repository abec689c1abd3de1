#pragma once
// The tty's lists for moving about a service, drawn over the screen: the bookmarks (the
// command key's "g": Enter goes, "+" adds the current place, "e" edits, "d" deletes), the
// recent places ("j": locations gone to, then menus seen) and the service's commands by number
// ("n"), and Ctrl+Alt+Left/Right for the previous and next message.
#include <optional>
#include <string>

#include "app/tty/TtyKeys.h"
#include "app/tty/TtyPickList.h"
#include "app/tty/TtyPrompt.h"
#include "auto/Registry.h"
#include "link/CQuillonDoc.h"

class TtyFrontEnd;

class TtyNavigation {
public:
    TtyNavigation(TtyFrontEnd& frontEnd, TtyPrompt& prompt, Registry& registry, CQuillonDoc& doc);

    void ShowBookmarks();
    void ShowRecentPlaces();
    void ShowServiceCommands();
    // The lists that show follow the session's bookmarks and places.
    void Refresh();
    // Ctrl+Alt+Left or Right while the service has the message command: true when it ran.
    bool MessageKey(const TtyKey& key);
    // The bookmark record dialog on the status line: the name and the location, both
    // required, offered for editing; false when cancelled or left empty.
    bool AskBookmark(Record& bookmark);

private:
    bool bookmarkKey(const TtyKey& key, std::optional<TtyPickRow> current);
    void editBookmark(size_t row);
    void deleteBookmark(size_t row);
    void fillBookmarks();
    void fillPlaces();
    void fillCommands();
    void runCommand(size_t command);

    TtyFrontEnd& frontEnd_;
    TtyPrompt& prompt_;
    Registry& registry_;
    CQuillonDoc& doc_;
    TtyPickList bookmarks_;
    TtyPickList places_;
    TtyPickList commands_;
    std::vector<size_t> shownCommands_;  // the command of each row of commands_
};
