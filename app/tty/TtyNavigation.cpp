#include "app/tty/TtyNavigation.h"

#include "app/tty/TtyFrontEnd.h"
#include "auto/BookmarkPage.h"
#include "auto/Bookmarks.h"
#include "auto/ServiceCommands.h"
#include "platform/TextCodec.h"

namespace {

constexpr size_t kPreviousMessage = 6, kNextMessage = 7;  // in ServiceCommands()

std::string utf8(const std::string& cp949) {
    return cp949ToUtf8Lossy(cp949);
}

// The prompt's status text, up to its line break.
std::string commandName(const ServiceCommand& command) {
    const std::string prompt = command.prompt;
    return prompt.substr(0, prompt.find('\n'));
}

LineQuestion startingWith(const std::string& cp949) {
    LineQuestion how;
    how.initial = utf8(cp949);
    return how;
}

std::vector<std::vector<std::string>> placeRows(const RecentPlaces& places) {
    std::vector<std::vector<std::string>> rows;
    for (const Location& place : places.Places())
        rows.push_back({utf8(place.title), utf8(place.code)});
    return rows;
}

}  // namespace

TtyNavigation::TtyNavigation(TtyFrontEnd& frontEnd, TtyPrompt& prompt, Registry& registry,
                             CQuillonDoc& doc)
    : frontEnd_(frontEnd),
      prompt_(prompt),
      registry_(registry),
      doc_(doc),
      bookmarks_("책갈피", {{"이름", 24}, {"위치", 14}, {"방문시간", 0}}),
      places_("최근 위치", {{"이름", 24}, {"위치", 0}}),
      commands_("이동 명령", {{"명령", 0}}) {
    bookmarks_.SetHint("Enter 이동  + 현재 위치 추가  e 고치기  d 지우기  Esc 닫기");
    bookmarks_.picked = [this](TtyPickRow row) { doc_.GoBookmark(row.row); };
    bookmarks_.otherKey = [this](const TtyKey& key, std::optional<TtyPickRow> current) {
        return bookmarkKey(key, current);
    };
    places_.picked = [this](TtyPickRow row) {
        row.section == 0 ? doc_.GoRecentLocation(row.row) : doc_.GoRecentMenu(row.row);
    };
    commands_.picked = [this](TtyPickRow row) {
        if (row.row < shownCommands_.size()) runCommand(shownCommands_[row.row]);
    };
}

void TtyNavigation::ShowBookmarks() {
    fillBookmarks();
    frontEnd_.ShowPickList(&bookmarks_);
}

void TtyNavigation::ShowRecentPlaces() {
    fillPlaces();
    frontEnd_.ShowPickList(&places_);
}

void TtyNavigation::ShowServiceCommands() {
    fillCommands();
    frontEnd_.ShowPickList(&commands_);
}

void TtyNavigation::Refresh() {
    if (bookmarks_.Shown()) fillBookmarks();
    if (places_.Shown()) fillPlaces();
}

void TtyNavigation::fillBookmarks() {
    std::vector<std::vector<std::string>> rows;
    for (const Record& bookmark : doc_.Bookmarks())
        rows.push_back({utf8(BookmarkField(bookmark, "Title")),
                        utf8(BookmarkField(bookmark, "Location")), VisitTimeText(bookmark)});
    bookmarks_.SetRows(std::move(rows));
}

void TtyNavigation::fillPlaces() {
    places_.SetSections({{"최근 위치", placeRows(doc_.RecentLocations())},
                         {"최근 메뉴", placeRows(doc_.RecentMenus())}});
}

// The commands the service has a word for; the article ones ask for their number.
void TtyNavigation::fillCommands() {
    shownCommands_.clear();
    std::vector<std::vector<std::string>> rows;
    const std::vector<ServiceCommand>& commands = ServiceCommands();
    for (size_t i = 0; i < commands.size(); ++i) {
        const bool available = doc_.Online() && ServiceCommandLine(commands[i], doc_.ServiceMap(),
                                                                   "1", doc_.InChatRoom());
        if (!available) continue;
        shownCommands_.push_back(i);
        rows.push_back({commandName(commands[i])});
    }
    commands_.SetRows(std::move(rows));
}

void TtyNavigation::runCommand(size_t command) {
    if (ServiceCommands()[command].kind != ServiceCommand::Move) {
        std::optional<std::string> item =
            prompt_.AskLine("번호: ", startingWith(doc_.SelectedItem()));
        if (!item) return;
        doc_.SetSelectedItem(utf8ToCp949Lossy(*item));
    }
    doc_.RunServiceCommand(command);
}

bool TtyNavigation::MessageKey(const TtyKey& key) {
    if (key.kind != TtyKey::Kind::Key || key.modifiers != (kTWCtrl | kTWAlt)) return false;
    if (key.key != TWKey::Left && key.key != TWKey::Right) return false;
    const size_t command = key.key == TWKey::Left ? kPreviousMessage : kNextMessage;
    if (!doc_.ServiceCommandEnabled(command)) return false;
    doc_.RunServiceCommand(command);
    return true;
}

bool TtyNavigation::bookmarkKey(const TtyKey& key, std::optional<TtyPickRow> current) {
    if (key.kind != TtyKey::Kind::Text) return false;
    if (key.text == "+") {
        doc_.AddCurrentLocation();
    } else if (key.text == "e" && current) {
        editBookmark(current->row);
    } else if (key.text == "d" && current) {
        deleteBookmark(current->row);
    } else {
        return false;
    }
    fillBookmarks();
    return true;
}

void TtyNavigation::editBookmark(size_t row) {
    BookmarkPage page(registry_, prompt_, doc_.CurrentService());
    page.Edit(row, [this](Record& bookmark) { return AskBookmark(bookmark); });
    if (!page.Save()) frontEnd_.ShowStatus("책갈피를 저장하지 못했습니다.");
}

void TtyNavigation::deleteBookmark(size_t row) {
    BookmarkPage page(registry_, prompt_, doc_.CurrentService());
    if (page.Deletable({row}).empty()) {
        frontEnd_.ShowStatus("읽기 전용 책갈피는 지울 수 없습니다.");
        return;
    }
    page.Delete({row});
    if (!page.Save()) frontEnd_.ShowStatus("책갈피를 저장하지 못했습니다.");
}

bool TtyNavigation::AskBookmark(Record& bookmark) {
    const bool locked = BookmarkReadOnly(bookmark);
    Record edited = bookmark;
    for (auto [field, label] : {std::pair{"Title", "이름: "}, std::pair{"Location", "위치: "}}) {
        if (locked) continue;
        std::optional<std::string> text =
            prompt_.AskLine(label, startingWith(BookmarkField(bookmark, field)));
        if (!text) return false;
        edited[field] = utf8ToCp949Lossy(*text);
    }
    if (std::optional<std::string> refusal = BookmarkPage::CheckRecord(edited)) {
        frontEnd_.ShowStatus(*refusal);
        return false;
    }
    bookmark = std::move(edited);
    return true;
}
