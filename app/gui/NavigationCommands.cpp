#include "app/gui/NavigationCommands.h"

#include "app/CommandTable.h"
#include "app/gui/BookmarkEditor.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/ServiceRecordDialog.h"
#include "app/gui/StoredText.h"
#include "auto/Bookmarks.h"
#include "auto/ServiceCommands.h"
#include "link/CQuillonDoc.h"

namespace {

QString placeText(const Location& place) {
    return fromStored(place.title) + " (" + fromStored(place.code) + ")";
}

}  // namespace

void registerNavigationCommands(CMainFrame& frame) {
    for (size_t i = 0; i < ServiceCommands().size(); ++i) {
        frame.SetCommand(
            Cmd::ServiceCommand + static_cast<int>(i),
            {[&frame, i] {
                 if (frame.Doc()) frame.Doc()->RunServiceCommand(i);
             },
             nullptr,
             [&frame, i] { return frame.Doc() && frame.Doc()->ServiceCommandEnabled(i); }});
    }
    auto hasService = [&frame] { return frame.Doc() && !frame.Doc()->CurrentService().empty(); };
    frame.SetCommand(Cmd::AddBookmark,
                     {[&frame] { frame.Doc()->AddCurrentLocation(); }, nullptr, hasService});
    frame.SetCommand(Cmd::EditBookmarks, {[&frame] {
                                              EditBookmarks(frame.registry(), frame.prompt(),
                                                            frame.Doc()->CurrentService(), &frame);
                                          },
                                          nullptr, hasService});
    frame.SetCommand(Cmd::ServiceRecord, {[&frame] {
                                              EditServiceRecord(frame.registry(), frame.prompt(),
                                                                frame.Doc()->CurrentService(),
                                                                &frame);
                                          },
                                          nullptr, hasService});
    frame.SetCommand(Cmd::RecentPlaces, {[&frame] {
                         if (!frame.Bars().On(FrameBars::HistWnd))
                             frame.Bars().Flip(FrameBars::HistWnd);
                     }});
    frame.SetCommand(
        Cmd::ServiceCommandList, {[&frame] {
            QMenu menu;
            for (size_t i = 0; i < ServiceCommands().size(); ++i)
                menu.addAction(frame.Action(Cmd::ServiceCommand + static_cast<int>(i)));
            menu.exec(frame.View().mapToGlobal(QPoint(0, 0)));
        }});
}

void FillBookmarkMenu(QMenu& menu, CMainFrame& frame) {
    menu.clear();
    CQuillonDoc* doc = frame.Doc();
    if (doc) {
        const std::vector<Record>& bookmarks = doc->Bookmarks();
        for (size_t i = 0; i < bookmarks.size(); ++i)
            QObject::connect(menu.addAction(fromStored(BookmarkField(bookmarks[i], "Title"))),
                             &QAction::triggered, &menu, [doc, i] { doc->GoBookmark(i); });
    }
    menu.addSeparator();
    menu.addAction(frame.Action(Cmd::AddBookmark));
    menu.addAction(frame.Action(Cmd::EditBookmarks));
    if (!doc || doc->RecentLocations().Places().empty()) return;
    menu.addSeparator();
    const std::vector<Location>& recent = doc->RecentLocations().Places();
    for (size_t i = 0; i < recent.size(); ++i)
        QObject::connect(menu.addAction(placeText(recent[i])), &QAction::triggered, &menu,
                         [doc, i] { doc->GoRecentLocation(i); });
}

QStringList RecentPlaceLines(const CQuillonDoc& doc) {
    QStringList lines;
    for (const Location& place : doc.RecentLocations().Places())
        lines << "책갈피: " + placeText(place);
    for (const Location& place : doc.RecentMenus().Places())
        lines << "메뉴: " + placeText(place);
    return lines;
}
