#pragma once
// The telnet entry editor: the common fields, "호스트 이름(&H):" and "포트 번호(&P):" (0 to
// 65535), split from "Server" on opening and joined into it on saving.
#include "app/gui/EntryEditor.h"

class TelnetEntryDialog : public EntryEditor {
public:
    TelnetEntryDialog(Registry& registry, Prompt& prompt, const Record& entry,
                      QWidget* parent = nullptr);

protected:
    bool TakeFields(Record& entry) override;

private:
    QLineEdit* host_;
    QLineEdit* port_;
};
