// The main window's stored placement: put back exactly, maximised again, moved onto a screen
// when it lies off them all, the default for bad texts, and the default position when another
// copy's window stands at the stored corner.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/InstanceCounter.h"
#include "app/gui/FramePlacement.h"
#include "app/gui/SplashWindow.h"
#include "tests/app/gui/FrameTestSupport.h"

namespace {

const QRect kNormal(37, 41, 640, 480);

TEST_F(FrameTest, PlacementComesBackExactly) {
    makeFrame();
    frame->setGeometry(kNormal);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    ASSERT_EQ(frame->geometry(), kNormal);
    frame->SaveWindowState();
    EXPECT_EQ(setting("WindowPos"), "0,1,-1,-1,-1,-1,37,41,677,521");

    makeFrame();
    ScreenSettings tall = frame->View().Settings();
    tall.rows = 40;
    frame->View().ApplyScreenSettings(tall);  // at start: the stored size wins
    EXPECT_FALSE(frame->RestorePlacement());
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    EXPECT_EQ(frame->geometry(), kNormal);
    EXPECT_FALSE(frame->isMaximized());
}

TEST_F(FrameTest, AShownWindowFollowsTheRowsOfTheView) {
    makeFrame();
    frame->setGeometry(kNormal);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    ScreenSettings rows = frame->View().Settings();
    rows.rows = 10;
    frame->View().ApplyScreenSettings(rows);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return frame->View().size() == frame->View().CellAreaSize(); }));
    EXPECT_EQ(frame->View().CellAreaSize().height(), 10 * frame->View().Fonts().LineHeight());
}

TEST_F(FrameTest, AWindowClosedMaximisedOpensMaximised) {
    makeFrame();
    frame->setGeometry(kNormal);
    frame->showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    ASSERT_TRUE(frame->isMaximized());
    frame->SaveWindowState();
    EXPECT_EQ(setting("WindowPos"), "2,3,-1,-1,-1,-1,37,41,677,521");

    makeFrame();
    frame->RestorePlacement();
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(frame->normalGeometry(), kNormal);
    frame->showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->geometry() == kNormal; }));
}

// Screens side by side: 1024 × 768 at the origin and 1280 × 1024 to its right, lower.
TEST(FramePlacement, ARectangleOffEveryScreenMovesOntoTheNearest) {
    const QList<QRect> screens{QRect(0, 0, 1024, 768), QRect(1024, 100, 1280, 1024)};
    struct Case {
        QRect stored, placed;
    } cases[] = {
        {QRect(10, 20, 600, 500), QRect(10, 20, 600, 500)},        // on the first screen
        {QRect(1500, 900, 600, 500), QRect(1500, 900, 600, 500)},  // on the second
        {QRect(-520, 20, 600, 500), QRect(0, 20, 600, 500)},       // 80 pixels of edge show
        {QRect(-500, 20, 600, 500), QRect(-500, 20, 600, 500)},    // 100 pixels show
        {QRect(10, -20, 600, 500), QRect(10, 0, 600, 500)},        // the top edge is above
        {QRect(10, 740, 600, 500), QRect(10, 268, 600, 500)},      // 28 rows of edge show
        {QRect(5000, 5000, 600, 500), QRect(1704, 624, 600, 500)},
        {QRect(-3000, 300, 2000, 900), QRect(0, 0, 1024, 768)},   // shrunk to fit
        {QRect(1100, 20, 400, 300), QRect(1100, 100, 400, 300)},  // above the second screen
    };
    for (const Case& c : cases)
        EXPECT_EQ(mendedRect(c.stored, screens), c.placed) << c.stored.x() << "," << c.stored.y();
    EXPECT_EQ(mendedRect(QRect(5000, 5000, 600, 500), {}), QRect(5000, 5000, 600, 500));
}

TEST_F(FrameTest, APlacementOffTheScreenIsMovedOntoIt) {
    setSetting("WindowPos", "0,1,-1,-1,-1,-1,5000,-5000,5640,-4520");
    makeFrame();
    frame->RestorePlacement();
    const QRect screen = availableScreenAreas().front();
    EXPECT_EQ(frame->geometry().size(), QSize(640, 480));
    EXPECT_TRUE(screen.contains(frame->geometry())) << screen.width() << "x" << screen.height();
}

TEST_F(FrameTest, BadPlacementsKeepTheDefaults) {
    const QSize defaultSize(CMainFrame::kDefaultWidth, CMainFrame::kDefaultHeight);
    setSetting("WindowPos", "0,1,-1,-1,-1,-1,37,41,677");  // nine numbers
    makeFrame();
    EXPECT_FALSE(frame->RestorePlacement());
    EXPECT_EQ(frame->size(), defaultSize);
    EXPECT_FALSE(frame->testAttribute(Qt::WA_Moved));

    setSetting("WindowPos", "0,1,-1,-1,-1,-1,37,41,37,-200");  // an empty rectangle
    makeFrame();
    frame->RestorePlacement();
    EXPECT_EQ(frame->geometry(), QRect(QPoint(37, 41), defaultSize));
}

// The first copy's window records its corner as it shows; the second copy, stored at the same
// corner, keeps the default position (and so shows no splash), with the stored size.
TEST_F(FrameTest, ASecondCopyAtATakenCornerKeepsTheDefaultPosition) {
    const std::string folder = dir + "/run";
    InstanceCounter first(folder);
    setSetting("WindowPos", "0,1,-1,-1,-1,-1,37,41,677,521");
    makeFrame();
    frame->windowMoved = [&first](QPoint corner) {
        first.RecordWindowPosition(corner.x(), corner.y());
    };
    EXPECT_FALSE(frame->RestorePlacement());
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    auto firstWindow = std::move(frame);

    InstanceCounter second(folder);
    auto taken = [&second](QPoint corner) {
        return second.PositionTakenByOther(corner.x(), corner.y());
    };
    makeFrame();
    const bool positionTaken = frame->RestorePlacement(taken);
    EXPECT_TRUE(positionTaken);
    EXPECT_EQ(frame->size(), kNormal.size());
    EXPECT_FALSE(frame->testAttribute(Qt::WA_Moved));
    EXPECT_FALSE(SplashAllowed({false, false, false, positionTaken}));

    firstWindow->setGeometry(QRect(QPoint(100, 100), kNormal.size()));  // the corner is free
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return firstWindow->geometry().topLeft() == QPoint(100, 100); }));
    makeFrame();
    EXPECT_FALSE(frame->RestorePlacement(taken));
    EXPECT_EQ(frame->geometry(), kNormal);
}

}  // namespace
