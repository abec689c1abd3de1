// The terminal view hands Go boards to the Go window: on the board's recognition with Baduk
// mode on, with the session's current service; clicks reach the host through VTPuts; switching
// the mode off ends the board, switching it on over a board opens it with its stones.
#include "baduk/BadukDoc.h"
#include "baduk/gui/BadukWindows.h"
#include "baduk/gui/CBadukView.h"
#include "baduk/gui/CBadukWnd.h"
#include "term/TWServices.h"
#include "tests/app/gui/ViewTestSupport.h"
#include "tests/baduk/GameScript.h"

namespace {

class ViewBaduk : public ViewTest {
protected:
    ViewBaduk() {
        InstallBadukWindows({&prompt, registry.get(), window.get()}, [this](const char* text) {
            VTPuts(text, [this](std::string_view bytes) { doc->SendText(bytes); });
        });
    }
    ~ViewBaduk() override {
        RemoveBadukWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void setBadukMode(bool on) {
        ViewModes modes = view().Modes();
        modes.badukMode = on;
        view().SetModes(modes);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(ViewBaduk, ARecognisedBoardOpensTheWindowAndAClickPlays) {
    doc->SetCurrentService(cp("천리안"));
    GoScreen::Game game;
    receive(GameScript::Stream(game) + "\a");
    ASSERT_NE(CurrentBadukWindow(), nullptr);
    ASSERT_NE(CBadukDoc::Current(), nullptr);
    EXPECT_EQ(CBadukDoc::Current()->ServiceIndex(), 1);
    EXPECT_EQ(CBadukDoc::Current()->Moves().size(), 9u);
    CBadukView& board = CurrentBadukWindow()->View();
    const int b = (board.width() - 60) / 18;
    sent();
    QTest::mouseClick(&board, Qt::LeftButton, {}, QPoint(30 + 3 * b, 24 + 3 * b));
    EXPECT_EQ(sent(), "D 4\r");

    setBadukMode(false);
    EXPECT_EQ(CurrentBadukWindow(), nullptr);
    EXPECT_FALSE(view().BoardInProgress());
}

TEST_F(ViewBaduk, ModeSwitchedOnOverABoardOpensItWithItsStones) {
    setBadukMode(false);
    GoScreen::Game game;
    receive(GameScript::Stream(game));
    EXPECT_EQ(CurrentBadukWindow(), nullptr);
    setBadukMode(true);
    ASSERT_NE(CurrentBadukWindow(), nullptr);
    EXPECT_EQ(CBadukDoc::Current()->StoneAt(9, 9), CBadukDoc::kBlack);
    receive("\x1b[2J");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CurrentBadukWindow(), nullptr);
}

}  // namespace
