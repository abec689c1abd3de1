#include "app/gui/ParticipantList.h"

#include <QPixmap>
#include <QStyle>

#include "auto/ChatColours.h"
#include "platform/TextCodec.h"
#include "term/ScreenPainter.h"

namespace {

QString fromHost(const std::string& cp949) {
    return QString::fromStdString(cp949ToUtf8Lossy(cp949));
}

QIcon swatch(int colour) {
    static const TermPalette palette = MakePalette(false, {});
    QPixmap square(12, 12);
    square.fill(QColor(palette[colour & 15]));
    return QIcon(square);
}

}  // namespace

ParticipantList::ParticipantList(ChatAssistant& chat, ChatSession& session, QWidget* parent)
    : QListWidget(parent), chat_(chat), session_(session) {
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = indexAt(at).row();
        if (row < 0) return;
        QMenu* menu = BuildMenu(row, this);
        menu->exec(viewport()->mapToGlobal(at));
        delete menu;
    });
}

void ParticipantList::Refresh() {
    clear();
    const ChatRoomState& room = chat_.Room();
    const QIcon user = style()->standardIcon(QStyle::SP_DirHomeIcon);
    for (size_t i = 0; i < room.Count(); ++i) {
        auto* item = new QListWidgetItem(fromHost(room.DisplayText(i)), this);
        const std::optional<Record> notebook = room.IconOf(i);
        auto file = notebook ? notebook->find("IconFile") : Record::const_iterator();
        QIcon icon = notebook && file != notebook->end()
                         ? QIcon(QString::fromStdString(cp949ToUtf8Lossy(file->second)))
                         : QIcon();
        item->setIcon(icon.isNull() ? user : icon);
    }
}

std::string ParticipantList::IdOf(int row) const {
    const QListWidgetItem* it = item(row);
    if (!it) return "";
    const std::string text = utf8ToCp949Lossy(it->text().toStdString());
    const size_t open = text.find('(');
    if (open == std::string::npos || text.size() < open + 2) return "";
    return text.substr(open + 1, text.size() - open - 2);
}

void ParticipantList::addColourEntries(QMenu& menu, size_t index) {
    ChatRoomState& room = chat_.Room();
    QMenu* colours = menu.addMenu("색");
    for (int n = 0; n < ChatColour::MenuEntries; ++n) {
        const int colour = ColourMenuColour(n);
        colours->addAction(swatch(colour), QString::number(colour),
                           [&room, index, colour] { room.SetColour(index, colour); });
    }
    menu.addAction("색 바꾸기", [&room, index] {
        room.SetColour(index, NextCycleColour(room.ColourOf(index)));
    });
}

QMenu* ParticipantList::BuildMenu(int row, QWidget* parent) {
    auto* menu = new QMenu(parent);
    ChatRoomState& room = chat_.Room();
    const size_t index = static_cast<size_t>(row);
    const std::string id = IdOf(row);
    addColourEntries(*menu, index);
    menu->addSeparator();
    auto userCommand = [&](const char* text, const char* value, UserCommand command) {
        QAction* action =
            menu->addAction(text, [&room, command, id] { room.RunUserCommand(command, id); });
        action->setEnabled(!id.empty() && !session_.ServiceValue(value).empty());
    };
    userCommand("해당 사용자를 무시합니다.", "사용자 무시", UserCommand::Ignore);
    userCommand("해당 사용자에게 귓속말을 설정합니다.", "귓속말 설정", UserCommand::Whisper);
    userCommand("해당 사용자의 프로필을 봅니다.", "프로필 확인", UserCommand::Profile);
    QAction* invite = menu->addAction("사용자 초대", [&room, id] { room.Invite({id}); });
    invite->setEnabled(!id.empty() && !session_.ServiceValue("사용자 초대").empty());
    QAction* presence = menu->addAction("접속 확인", [this, id] { chat_.CheckPresence({id}); });
    presence->setEnabled(!id.empty() && !session_.ServiceValue("접속 확인").empty());
    menu->addSeparator();
    menu->addAction("ID 수첩에 추가", [&room, index] { room.AddToIdNotebook(index); })
        ->setEnabled(!id.empty());
    menu->addAction("현재 선택된 아이콘을 삭제합니다.", [&room, index] { room.Remove(index); });
    menu->addAction("현재 대화실 현황을 봅니다.", [&room] { room.RefreshParticipants(); });
    return menu;
}
