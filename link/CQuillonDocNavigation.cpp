// The session's service commands and bookmarks: the move and article commands of the menus,
// going to bookmarks and recent places, adding the current place, and reading that place from
// the screen of a recognised service.
#include "auto/Bookmarks.h"
#include "auto/DoubleByteText.h"
#include "auto/RoomCommand.h"
#include "auto/ServiceCommands.h"
#include "auto/SoundEvents.h"
#include "link/CQuillonDoc.h"
#include "platform/TextCodec.h"
#include "term/TWServices.h"

namespace {

std::string cp(const char* utf8) {
    return utf8ToCp949(utf8).value_or("");
}

std::optional<std::string> screenLine(const TWView& view, int line) {
    const uint8_t* row = nullptr;
    if (TWGetVTLine(view, line, &row) != 0 || !row) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(row), TWView::kColumns);
}

}  // namespace

void CQuillonDoc::SetSelectedItem(const std::string& item) {
    selectedItem_ = TrimSpaces(item);
}

bool CQuillonDoc::canSendToHost() const {
    return online_ && !transferActive_ && !linkBusy_;
}

bool CQuillonDoc::ServiceCommandEnabled(size_t command) const {
    const std::vector<ServiceCommand>& commands = ServiceCommands();
    return command < commands.size() && canSendToHost() &&
           ServiceCommandLine(commands[command], serviceMap_, selectedItem_, inChatRoom_);
}

void CQuillonDoc::RunServiceCommand(size_t command) {
    if (!ServiceCommandEnabled(command)) return;
    const ServiceCommand& chosen = ServiceCommands()[command];
    if (chosen.kind == ServiceCommand::Move)
        PlayEventSound(ctx_.registry, ctx_.sound, "Wisp 마우스 선택", false);
    SendLine(*ServiceCommandLine(chosen, serviceMap_, selectedItem_, inChatRoom_));
}

void CQuillonDoc::loadBookmarks() {
    bookmarks_ = LoadBookmarks(ctx_.registry, currentService_);
    ctx_.frame.PlacesChanged();
}

std::string CQuillonDoc::goCommand() const {
    const std::string go = serviceValue("책갈피 이동");
    return RoomCommand(go.empty() ? "GO" : go, inChatRoom_);
}

// On the videotex gateway's service a bookmark may carry a second code, used unless the
// cursor's row shows the gateway's own menu.
std::string CQuillonDoc::bookmarkTarget(const Record& bookmark) const {
    const std::string infoCode = BookmarkField(bookmark, "InfoCode");
    if (currentService_ != cp("미니텔") || infoCode.empty())
        return BookmarkField(bookmark, "Location");
    const std::string row =
        screenLine(ctx_.view, ctx_.view.ScrolledSinceClear() + ctx_.view.Cursor().y).value_or("");
    const std::string marker = " " + cp("미니텔");
    return row.compare(0, marker.size(), marker) == 0 ? BookmarkField(bookmark, "Location")
                                                      : infoCode;
}

void CQuillonDoc::GoBookmark(size_t index) {
    if (index >= bookmarks_.size() || !canSendToHost()) return;
    const Record bookmark = bookmarks_[index];  // a reload below replaces the list
    const std::string title = BookmarkField(bookmark, "Title");
    const std::string target = bookmarkTarget(bookmark);
    if (target.empty()) {
        ctx_.frame.ShowStatus(kNoBookmarkLocation);
        return;
    }
    if (!SendableLocation(target)) return;
    SendLine(goCommand() + " " + target);
    const int64_t now = NowSeconds();
    bookmarks_[index]["VTime"] = std::to_string(now);
    if (serviceType_ != 0) recentLocations_.Add({title, target});
    StoreVisitTime(ctx_.registry, currentService_, title, now);
    ctx_.frame.PlacesChanged();
    if (currentService_ == cp("인포샵") && title == cp("미니텔")) SetCurrentService(cp("미니텔"));
}

void CQuillonDoc::GoRecentLocation(size_t index) {
    goPlace(recentLocations_.At(index));
}

void CQuillonDoc::GoRecentMenu(size_t index) {
    goPlace(recentMenus_.At(index));
}

void CQuillonDoc::goPlace(const Location* place) {
    if (!place || !canSendToHost() || !SendableLocation(place->code)) return;
    SendLine(goCommand() + " " + place->code);
}

void CQuillonDoc::AddCurrentLocation() {
    if (currentService_.empty()) return;
    std::string title, location;
    RecogniseLocation(title, location, true);
    Record bookmark = {
        {"Title", title}, {"Location", location}, {"VTime", std::to_string(NowSeconds())}};
    while (ctx_.frame.EditBookmark(bookmark)) {
        const std::string wanted = BookmarkField(bookmark, "Title");
        bool taken = false;
        for (const Record& existing : bookmarks_)
            taken = taken || BookmarkField(existing, "Title") == wanted;
        const AppendResult result = taken
                                        ? AppendResult::TitleTaken
                                        : AppendBookmark(ctx_.registry, currentService_, bookmark);
        if (result == AppendResult::Added) return;  // the store's notice reloads the list
        if (result == AppendResult::Failed) {
            tell(ctx_.registry.lastError(), PromptIcon::Error);
            return;
        }
        tell(kDuplicateBookmark, PromptIcon::Warning);
    }
}

std::optional<Location> CQuillonDoc::readLocation() {
    return ::RecogniseLocation(serviceType_,
                               [this](int line) { return screenLine(ctx_.view, line); });
}

bool CQuillonDoc::RecogniseLocation(std::string& title, std::string& location, bool force) {
    if (force || !locationRead_) {
        location_ = serviceType_ != 0 ? readLocation() : std::nullopt;
        locationRead_ = true;
    }
    title = location_ ? location_->title : "";
    location = location_ ? location_->code : "";
    return location_.has_value();
}

// A settled screen of a recognised service: a place not seen just before goes first among the
// recent menus, and the window shows it.
void CQuillonDoc::noteSettledLocation() {
    if (serviceType_ == 0 || locationRead_) return;
    std::string title, code;
    RecogniseLocation(title, code);
    if (location_ == shownLocation_) return;
    shownLocation_ = location_;
    if (location_) recentMenus_.Add(*location_);
    ctx_.frame.ShowLocation(cp949ToUtf8Lossy(title), cp949ToUtf8Lossy(code));
    ctx_.frame.PlacesChanged();
}
