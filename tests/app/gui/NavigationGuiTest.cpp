// The window's service commands and bookmarks on the offscreen platform, over a session with
// fake links and the shipped profile: enable states across service, online and selection
// changes, Ctrl+Alt+Right and the move tool bar sending the service's word, the bookmark menu,
// the editor "책갈피 편집" with its record dialog, and the service-record dialog.
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "app/CommandTable.h"
#include "app/gui/BookmarkDialog.h"
#include "app/gui/BookmarkEditor.h"
#include "app/gui/CommandList.h"
#include "app/gui/ServiceRecordDialog.h"
#include "auto/Bookmarks.h"
#include "auto/RegImport.h"
#include "auto/ServiceCommands.h"
#include "auto/Services.h"
#include "tests/app/gui/DialogTestSupport.h"
#include "tests/app/gui/FrameTestSupport.h"

namespace {

constexpr int kDownload = Cmd::ServiceCommand + 11;  // "게시물 받기"

class NavigationFrameTest : public FrameTest {
protected:
    NavigationFrameTest() {
        EXPECT_TRUE(importRegFile(*registry, QUILITE_SOURCE_DIR "/data/regorg.bak").ok());
        EXPECT_FALSE(AddService(*registry, {{"Title", "bare"}}));
        EXPECT_TRUE(CRecordStore(*registry).SaveList(cp("하이텔"), RecordKind::Bookmark,
                                                     {{{"Title", "free"}, {"Location", "FREE"}}}));
        makeFrame();
        startSession();
    }
    void connect(const std::string& service) {
        ASSERT_TRUE(doc->ConnectEntry(
            {{"Title", "bbs"}, {"Type", "1"}, {"Host", service}, {"Server", "bbs.example"}}));
        links.last->online = true;
        doc->OnIdle();
        links.last->ClearOutput();
    }
    bool enabled(int id) {
        frame->UpdateCommands();
        return frame->Action(id)->isEnabled();
    }
    std::string sent() {
        std::string out = links.last->Output();
        links.last->ClearOutput();
        return out;
    }
};

TEST_F(NavigationFrameTest, EnableStatesFollowServiceOnlineAndSelection) {
    EXPECT_FALSE(enabled(Cmd::NextMessage));  // offline
    connect(cp("하이텔"));
    EXPECT_TRUE(enabled(Cmd::NextMessage));
    EXPECT_FALSE(enabled(kDownload));  // no item selected
    doc->SetSelectedItem("12");
    EXPECT_TRUE(enabled(kDownload));
    links.last->online = false;
    doc->OnIdle();
    EXPECT_FALSE(frame->Action(Cmd::NextMessage)->isEnabled());  // updated by going offline
    connect("bare");
    EXPECT_FALSE(frame->Action(Cmd::NextMessage)->isEnabled());  // updated by the service
    EXPECT_EQ(frame->Action(Cmd::NextMessage)->statusTip(), "다음 메시지를 봅니다. (Ctrl+Alt+->)");
    EXPECT_EQ(frame->Action(Cmd::NextMessage)->toolTip(), "다음 메시지");
}

TEST_F(NavigationFrameTest, CtrlAltRightTheToolBarAndTheBookmarkMenuSend) {
    showActive();
    connect(cp("하이텔"));
    frame->UpdateCommands();
    QTest::keyClick(&frame->View(), Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(sent(), "n\r");
    QTest::keyClick(&frame->View(), Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(sent(), "b\r");
    auto* bar = frame->findChild<QToolBar*>("MOV_TOOL");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->actions().contains(frame->Action(Cmd::ServiceCommand + 3)));
    frame->Action(Cmd::ServiceCommand + 3)->trigger();  // "다음 페이지"
    EXPECT_EQ(sent(), "np\r");
    auto* menu = frame->findChild<QMenu*>("bookmarkMenu");
    ASSERT_TRUE(menu);
    emit menu->aboutToShow();
    ASSERT_FALSE(menu->actions().isEmpty());
    EXPECT_EQ(menu->actions()[0]->text(), "free");
    menu->actions()[0]->trigger();
    EXPECT_EQ(sent(), "go FREE\r");
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().back()->text(), "free (FREE)");  // the recent location
    EXPECT_GT(VisitTime(LoadBookmarks(*registry, cp("하이텔"))[0]), 0);
    // The icon panel's page: a click goes, and the page is redrawn by the visit it records.
    auto* panel = frame->findChild<QWidget*>("bookmarks");
    ASSERT_TRUE(panel);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // earlier buttons go
    const QList<QToolButton*> buttons = panel->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "free");
    buttons[0]->click();
    EXPECT_EQ(sent(), "go FREE\r");
}

TEST_F(NavigationFrameTest, TheServiceRecordDialogStoresValuesAndTheSessionReloads) {
    connect(cp("하이텔"));
    ServiceRecordDialog dialog(*registry, prompt, cp("하이텔"), frame.get());
    EXPECT_EQ(dialog.windowTitle(), "하이텔 통신망 등록 정보");
    auto* tree = dialog.findChild<QTreeWidget*>("commands");
    ASSERT_EQ(tree->topLevelItemCount(), 7);
    QTreeWidgetItem* next = tree->topLevelItem(0)->child(6);
    ASSERT_EQ(next->text(0), "다음 메시지");
    tree->setCurrentItem(next);
    auto* content = dialog.findChild<QLineEdit*>("content");
    EXPECT_EQ(content->text(), "n");
    content->clear();
    QTest::keyClicks(content, "nx");
    dialog.accept();
    EXPECT_EQ(ServiceValue(doc->ServiceMap(), "다음 메시지"), "nx");
    doc->RunServiceCommand(7);
    EXPECT_EQ(sent(), "nx\r");
}

class BookmarkEditorTest : public DialogTest {
protected:
    BookmarkEditorTest() {
        EXPECT_FALSE(AddService(*registry, {{"Title", cp("하나")}}));
        EXPECT_FALSE(AddService(*registry, {{"Title", cp("둘")}}));
        EXPECT_TRUE(CRecordStore(*registry).SaveList(
            cp("하나"), RecordKind::Bookmark,
            {{{"Title", "Free"}, {"Location", "FREE"}, {"VTime", "-1"}},
             {{"Title", "lock"}, {"Location", "L"}, {"ReadOnly", "1"}},
             {{"Title", "pds"}, {"Location", "PDS"}}}));
    }
    std::vector<std::string> storedTitles(const char* service) {
        std::vector<std::string> titles;
        for (const Record& b : LoadBookmarks(*registry, cp(service)))
            titles.push_back(b.at("Title"));
        return titles;
    }
    static void fillNext(const QString& title, const QString& location) {
        whenShown<BookmarkDialog>([=](BookmarkDialog& d) {
            control<QLineEdit>(d, "title")->setText(title);
            control<QLineEdit>(d, "location")->setText(location);
            d.accept();
        });
    }
    static void selectRows(CommandList& list, std::initializer_list<int> rows) {
        list.clearSelection();
        for (int row : rows)
            list.topLevelItem(row)->setSelected(true);
    }
};

TEST_F(BookmarkEditorTest, AddsEditsDeletesKeepsReadOnlyRowsAndSavesOnOk) {
    BookmarkEditor editor(*registry, prompt, cp("하나"));
    auto* list = control<CommandList>(editor, "bookmarks");
    auto* add = control<QPushButton>(editor, "add");
    auto* remove = control<QPushButton>(editor, "delete");
    auto* edit = control<QPushButton>(editor, "edit");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->headerItem()->text(0), "  이름");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "(없음)");
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(remove->isEnabled());
    selectRows(*list, {0, 1});
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
    QTest::mouseClick(remove, Qt::LeftButton);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "lock");
    fillNext("FREE", "X");
    add->click();
    EXPECT_EQ(list->topLevelItem(2)->text(0), "FREE");
    fillNext("PDS", "Y");
    add->click();
    EXPECT_EQ(list->topLevelItem(3)->text(0), "PDS (2)");  // letter case aside, "pds" is taken
    selectRows(*list, {1});
    EXPECT_TRUE(edit->isEnabled());
    fillNext("lock", "Z");
    list->doubleClicked({1});  // one row: edits it
    EXPECT_EQ(list->topLevelItem(1)->text(0), "lock (2)");
    // Switching service offers the changes; "No" drops them.
    prompt.expect(PromptAnswer::No);
    auto* service = control<QComboBox>(editor, "service");
    service->setCurrentIndex(service->findText("둘"));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "하나 책갈피가 변경되었습니다.\n\n저장하시겠습니까?");
    EXPECT_EQ(list->topLevelItemCount(), 0);
    service->setCurrentIndex(service->findText("하나"));
    ASSERT_EQ(list->topLevelItemCount(), 3);
    selectRows(*list, {1, 2});
    QTest::mouseClick(remove, Qt::LeftButton);
    fillNext("new", "NEW");
    add->click();
    editor.accept();
    EXPECT_EQ(storedTitles("하나"), (std::vector<std::string>{"Free", "lock", "new"}));
}

TEST_F(BookmarkEditorTest, TheRecordDialogLocksReadOnlyBookmarksAndRefusesEmptyFields) {
    BookmarkDialog fresh({}, prompt);
    EXPECT_EQ(fresh.windowTitle(), "새 책갈피 등록 정보");
    control<QLineEdit>(fresh, "title")->setText("x");
    fresh.accept();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(fresh.result(), QDialog::Rejected);  // still open: no location
    setenv("TZ", "UTC", 1);
    tzset();
    BookmarkDialog locked(
        {{"Title", "lock"}, {"Location", "L"}, {"ReadOnly", "1"}, {"VTime", "1000000000"}}, prompt);
    EXPECT_EQ(locked.windowTitle(), "lock 책갈피 등록 정보");
    EXPECT_TRUE(control<QLineEdit>(locked, "title")->isReadOnly());
    EXPECT_TRUE(control<QLineEdit>(locked, "location")->isReadOnly());
    EXPECT_EQ(control<QLabel>(locked, "visit")->text(), "2001-09-09 01:46");
}

}  // namespace
