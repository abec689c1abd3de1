// The chat-room assistant's windows on the offscreen platform: memo windows (one per ID, the
// transcript, replies, the context-menu checks, auto-hide on a fake clock), the received-memo
// dialog, the participant list's menu and the chat input bar's keys.
#include <QCheckBox>
#include <QInputDialog>
#include <QMenu>
#include <QTest>

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/ChatBarDialog.h"
#include "app/gui/ChatDocks.h"
#include "app/gui/ChatWindows.h"
#include "auto/CSettingsSection.h"
#include "auto/Services.h"
#include "platform/SoundPlayer.h"
#include "tests/app/gui/FrameTestSupport.h"
#include "tests/app/gui/GuiTestApp.h"
#include "tests/auto/ChatTestSupport.h"
#include "tests/auto/TempProfile.h"
#include "tests/fixtures/FakeClock.h"

namespace {

class ChatWindowsTest : public TempProfile {
protected:
    ChatWindowsTest() {
        session.service = cp("하이텔");
        session.values = {{"쪽지 보내기", "/memo"}, {"귓속말 설정", "/w"}, {"사용자 무시", "/ig"}};
        chat.SetService(session.service);
        chat.SetViews(&windows);
    }
    ~ChatWindowsTest() override { chat.SetViews(nullptr); }

    QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

    QApplication& app = guiTestApp();  // before the first widget
    RecordingSession session;
    SilentSoundPlayer sound;
    FakeClock clock;
    ChatAssistant chat{session, *registry, sound};
    ChatWindows windows{chat, session, *registry, clock};
};

}  // namespace

TEST_F(ChatWindowsTest, OneMemoWindowPerSenderWithItsTranscriptAndReplies) {
    ReceivedMemoDialog& received = windows.ShowReceivedMemos();
    chat.MemoArrived("kim01", cp("점심 먹자"));
    chat.MemoArrived("kim01", cp("어때?"));
    chat.MemoArrived("lee01", "hi");
    EXPECT_EQ(windows.MemoWindowCount(), 2u);
    MemoWindow* memo = windows.Memo("kim01");
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->windowTitle(), "From: kim01");
    EXPECT_EQ(memo->Transcript().toPlainText(), text("-> 점심 먹자\n-> 어때?"));
    ASSERT_EQ(received.List().topLevelItemCount(), 3);
    EXPECT_EQ(received.List().topLevelItem(0)->text(1), "kim01");
    EXPECT_EQ(received.List().topLevelItem(0)->text(2), text("점심 먹자"));
    EXPECT_EQ(received.List().headerItem()->text(0), text("시간"));

    memo->Reply().setText(text("  좋아 "));
    QTest::keyClick(&memo->Reply(), Qt::Key_Return);
    memo->Reply().setText("/st 12");
    QTest::keyClick(&memo->Reply(), Qt::Key_Return);
    EXPECT_EQ(session.sent, cp("[/memo kim01 좋아\r][st 12\r]"));
    EXPECT_EQ(memo->Transcript().toPlainText(), text("-> 점심 먹자\n-> 어때?\n<- 좋아"));
    EXPECT_TRUE(memo->Reply().text().isEmpty());
    // Without a memo command nothing goes and the reply stays.
    session.values.clear();
    memo->Reply().setText("later");
    EXPECT_FALSE(memo->SendReply());
    EXPECT_EQ(memo->Reply().text(), "later");
    EXPECT_EQ(windows.WriteTo("park01").windowTitle(), "To: park01");
}

TEST_F(ChatWindowsTest, AutoHideAndTheContextMenuChecks) {
    chat.MemoArrived("kim01", "hi");
    QPointer<MemoWindow> memo = windows.Memo("kim01");
    ASSERT_TRUE(memo);
    QEvent deactivated(QEvent::ActivationChange);  // the window is not the active one
    QApplication::sendEvent(memo, &deactivated);
    ASSERT_TRUE(memo->AutoHide().Running());
    clock.advance(9000);
    chat.MemoArrived("kim01", "again");  // restarts with 12 seconds
    clock.advance(11000);
    memo->CheckAutoHide();
    EXPECT_TRUE(memo->isVisible());
    memo->Reply().setText("typing");
    clock.advance(2000);
    memo->CheckAutoHide();
    EXPECT_TRUE(memo->isVisible());
    memo->Reply().clear();
    memo->CheckAutoHide();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(memo.isNull());
    EXPECT_EQ(windows.MemoWindowCount(), 0u);
    EXPECT_NE(CSettingsSection(*registry, "Settings").GetString("MemoSize"), "");

    chat.MemoArrived("kim01", "back");
    MemoWindow* again = windows.Memo("kim01");
    ASSERT_TRUE(again);
    again->ToggleTopMost();
    again->ToggleAutoHide();
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetInt("MemoTopMost", 0), 1);
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetInt("MemoAutoHide", 1), 0);
    EXPECT_TRUE(again->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(ChatWindowsTest, ParticipantMenuColoursAndCommands) {
    session.inRoom = true;
    chat.LineColour(cp("## 홍길동(hong01) 님이 입장하였습니다. ##"));
    chat.LineColour(cp("## 철수아이(kim001) 님이 입장하였습니다. ##"));
    ParticipantList& list = windows.Participants();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), text("홍길동(hong01)"));
    EXPECT_EQ(list.IdOf(1), "kim001");
    std::unique_ptr<QMenu> menu(list.BuildMenu(1, nullptr));
    auto find = [&](const QString& label) -> QAction* {
        for (QAction* action : menu->actions()) {
            if (action->text() == label) return action;
            if (action->menu())
                for (QAction* inner : action->menu()->actions())
                    if (inner->text() == label) return inner;
        }
        return nullptr;
    };
    find("12")->trigger();
    EXPECT_EQ(chat.Room().ColourOf(1), 12);
    find(text("색 바꾸기"))->trigger();
    EXPECT_EQ(chat.Room().ColourOf(1), 14);
    EXPECT_FALSE(find(text("사용자 초대"))->isEnabled());
    find(text("해당 사용자를 무시합니다."))->trigger();
    EXPECT_EQ(session.sent, "[/ig kim001\r]");
    find(text("해당 사용자에게 귓속말을 설정합니다."))->trigger();
    EXPECT_EQ(windows.InputBar().Field().text(), "/w kim001 ");
}

TEST_F(ChatWindowsTest, InputBarKeysCaptionsAndTheShellLines) {
    ChatInputBar& bar = windows.InputBar();
    bool escaped = false;
    bar.onEscape = [&] { escaped = true; };
    EXPECT_FALSE(bar.CaptionButton().isVisibleTo(&bar));
    CaptionDialog dialog(bar);
    dialog.head->setText(text("[머리]"));
    dialog.Apply(bar);
    EXPECT_EQ(bar.CaptionButton().text(), text("머릿말: [머리]"));
    EXPECT_TRUE(bar.CaptionButton().isVisibleTo(&bar));
    QLineEdit& field = bar.Field();
    field.insert(text("안녕"));
    QTest::keyClick(&field, Qt::Key_Return);
    QTest::keyClick(&field, Qt::Key_Backtab, Qt::ShiftModifier);  // captions off
    EXPECT_EQ(ChatBarSettings::Load(*registry).useCaption, false);
    QTest::keyClicks(&field, "plain");
    QTest::keyClick(&field, Qt::Key_Return);
    QTest::keyClicks(&field, "/exec dir");
    QTest::keyClick(&field, Qt::Key_Return);
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(session.sent, cp("[[머리]안녕\r][plain\r]\r"));
    QTest::keyClick(&field, Qt::Key_Up);
    EXPECT_EQ(field.text(), "/exec dir");
    QTest::keyClick(&field, Qt::Key_Escape);
    EXPECT_FALSE(escaped);
    QTest::keyClick(&field, Qt::Key_Escape);
    EXPECT_TRUE(escaped);
}

// The settings dialog keeps its values in range; stored, they colour and size the field.
TEST_F(ChatWindowsTest, TheBarsSettingsDialogStoresAndAppliesTheChatRecord) {
    ChatInputBar& bar = windows.InputBar();
    ChatBarDialog dialog(ChatBarSettings::Load(*registry));
    EXPECT_EQ(dialog.bkColor->currentIndex(), 0);
    EXPECT_EQ(dialog.textColor->currentIndex(), 15);
    EXPECT_EQ(dialog.rows->value(), 1);
    EXPECT_TRUE(dialog.useCaption->isChecked());
    EXPECT_EQ(dialog.bkColor->count(), 16);
    dialog.bkColor->setCurrentIndex(1);
    dialog.textColor->setCurrentIndex(14);
    dialog.rows->setValue(12);
    EXPECT_EQ(dialog.rows->value(), 9);
    dialog.rows->setValue(3);
    dialog.useCaption->setChecked(false);
    bar.SaveSettings(dialog.Settings());

    const ChatBarSettings stored = ChatBarSettings::Load(*registry);
    EXPECT_EQ(stored.bkColor, 1);
    EXPECT_EQ(stored.textColor, 14);
    EXPECT_EQ(stored.rows, 3);
    EXPECT_FALSE(stored.useCaption);
    EXPECT_FALSE(bar.Line().UseCaption());
    const QPalette colours = bar.Field().palette();
    EXPECT_EQ(colours.color(QPalette::Base), QColor(0x00, 0x00, 0x80));
    EXPECT_EQ(colours.color(QPalette::Text), QColor(0xFF, 0xFF, 0x00));
    QFont font("monospace");
    font.setPixelSize(20);
    bar.SetSymbolFont(font);
    EXPECT_EQ(bar.Field().height(), bar.Field().fontMetrics().height() * 3 + 8);
}

namespace {

class ChatFrameTest : public FrameTest {
protected:
    // The session online through a telnet entry-less connection, its service the first
    // recognised one with a memo command.
    CQuillonDoc& connectToService() {
        EXPECT_FALSE(
            AddService(*registry, {{"Title", cp("하이텔")}, {cp("쪽지 보내기"), "/memo"}}));
        makeFrame();
        CQuillonDoc& session = startSession({"127.0.0.1"});
        links.last->online = true;
        session.OnIdle();
        session.SetCurrentService(cp("하이텔"));
        return session;
    }
    void receive(CQuillonDoc& session, const std::string& utf8Lines) {
        links.last->Feed(cp(utf8Lines));
        for (int i = 0; i < 10 && session.OnIdle(); ++i) {
        }
    }
    // The window's child of a class without a meta-object of its own.
    template <class Widget>
    Widget* child() {
        for (QWidget* widget : frame->findChildren<QWidget*>())
            if (auto* found = dynamic_cast<Widget*>(widget)) return found;
        return nullptr;
    }
    int rowOf(const std::string& cp949) {
        TWView& view = frame->View();
        for (int y = 0; y < view.Rows(); ++y) {
            const std::string row(reinterpret_cast<const char*>(view.CharRow(view.ScreenTop() + y)),
                                  TWView::kColumns);
            if (row.starts_with(cp949)) return y;
        }
        return -1;
    }
};

}  // namespace

TEST_F(ChatFrameTest, AColouredParticipantsLinesChangeColourAndAMemoIsAnswered) {
    CQuillonDoc& session = connectToService();
    receive(session,
            "## 나그네(guest01) 님이 입장하였습니다. ##\r\n"
            "## 철수아이(kim001) 님이 입장하였습니다. ##\r\n");
    ASSERT_TRUE(session.InChatRoom());
    auto* list = child<ParticipantList>();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 1);
    std::unique_ptr<QMenu> menu(list->BuildMenu(0, nullptr));
    for (QAction* action : menu->actions())
        if (action->menu())
            for (QAction* colour : action->menu()->actions())
                if (colour->text() == "12") colour->trigger();
    receive(session, "철수아이(kim001  )  빨간 줄\r\n");
    const int y = rowOf(cp("철수아이(kim001  )  빨간 줄"));
    ASSERT_GE(y, 0);
    TWView& view = frame->View();
    EXPECT_EQ(view.AttrRow(view.ScreenTop() + y)[0] & 0x0F, 12);
    EXPECT_EQ(view.AttrRow(view.ScreenTop() + y - 1)[0] & 0x0F, 15);

    receive(session, "## (From:kim001) '점심 먹자'##\r\n");
    auto memos = QApplication::topLevelWidgets();
    MemoWindow* memo = nullptr;
    for (QWidget* widget : memos)
        if (auto* window = dynamic_cast<MemoWindow*>(widget)) memo = window;
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->windowTitle(), "From: kim001");
    memo->Reply().setText(QString::fromStdString("좋아"));
    ASSERT_TRUE(memo->SendReply());
    EXPECT_EQ(links.last->Output(), cp("/memo kim001 좋아\r"));

    // Alt+C shows the bar; "/exec dir" typed there never reaches the host.
    EXPECT_TRUE(frame->RunCommand(Cmd::ChatBar));
    auto* bar = child<ChatInputBar>();
    ASSERT_TRUE(bar && bar->isVisibleTo(frame.get()));
    bar->Field().setText("/exec dir");
    bar->Enter();
    EXPECT_EQ(links.last->Output(), cp("/memo kim001 좋아\r"));
    EXPECT_TRUE(frame->RunCommand(Cmd::ChatRoomMode));
    EXPECT_FALSE(session.Chat().ChatRoomMode());
}

// The bar's field in the terminal's symbol font; Shift+double-click puts a row into it; the menu
// command writes a memo to the last sender; the icon panel follows presence news.
TEST_F(ChatFrameTest, TheBarTakesRowsAndTheMenuWritesAMemo) {
    CQuillonDoc& session = connectToService();
    ChatDocks* docks = frame->Chat();
    ASSERT_TRUE(docks);
    ChatInputBar& bar = docks->Windows().InputBar();
    const QFont font = bar.Field().font();
    EXPECT_EQ(font.pixelSize(), frame->View().Fonts().LineHeight());
    EXPECT_EQ(font.family(), TermFonts::FamilyOf(TermFonts::kGulimFaceName));
    EXPECT_TRUE(docks->Windows().redrawIconPanel);

    receive(session, "## 나그네(guest01) 님이 입장하였습니다. ##\r\n철수아이(kim001  )  안녕\r\n");
    const int y = rowOf(cp("철수아이(kim001  )  안녕"));
    ASSERT_GE(y, 0);
    EXPECT_TRUE(frame->RunCommand(Cmd::ChatBar));
    frame->show();
    const int lh = frame->View().Fonts().LineHeight();
    QTest::mouseDClick(&frame->View(), Qt::LeftButton, Qt::ShiftModifier,
                       QPoint(5, y * lh + lh / 2));
    EXPECT_EQ(bar.Field().text(), QString::fromStdString("철수아이(kim001  )  안녕"));
    EXPECT_EQ(links.last->Output(), "");

    receive(session, "## (From:kim001) 'hi'##\r\n");
    QTimer::singleShot(0, [] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
        auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(ask);
        EXPECT_EQ(ask->textValue(), "kim001");
        ask->setTextValue("park01");
        ask->accept();
    });
    EXPECT_TRUE(frame->RunCommand(Cmd::WriteMemo));
    MemoWindow* memo = docks->Windows().Memo("park01");
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->windowTitle(), "To: park01");
    EXPECT_TRUE(memo->isVisible());
}
