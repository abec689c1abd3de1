#pragma once
// The participants of the chat room as "name(id)", each with its ID notebook icon or the
// default one, and the context menu of per-user commands: the 16 colours and the colour cycle,
// ignore, whisper, profile, invite, presence check, add to the ID notebook and remove.
#include <QListWidget>
#include <QMenu>

#include "auto/ChatAssistant.h"

class ParticipantList : public QListWidget {
public:
    ParticipantList(ChatAssistant& chat, ChatSession& session, QWidget* parent = nullptr);

    // Rebuilds the rows from the room's list.
    void Refresh();
    // The menu of a row (whose entry commands work on); the caller shows it.
    QMenu* BuildMenu(int row, QWidget* parent);
    // The user ID of a row: between "(" and the last character of its text.
    std::string IdOf(int row) const;

private:
    void addColourEntries(QMenu& menu, size_t index);

    ChatAssistant& chat_;
    ChatSession& session_;
};
