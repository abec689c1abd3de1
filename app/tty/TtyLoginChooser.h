#pragma once
// The log-in chooser on the tty's status line: the IDs numbered, Enter for the default, a
// number or a typed ID; the password asked (masked) when the choice has none; Tab flips the
// automatic selection; Esc cancels.
#include <vector>

#include "app/tty/TtyPrompt.h"
#include "auto/CRecordStore.h"
#include "auto/LoginChoice.h"

// ids: CP949 records with clear passwords; choice comes in with the first ID. False when
// cancelled.
bool ChooseLoginOnStatusLine(TtyPrompt& prompt, const std::vector<Record>& ids,
                             LoginChoice& choice);
