// The window's event loop against the cases every loop must pass, and the waits that window
// input ends.
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include "app/gui/QtEventLoop.h"
#include "tests/app/gui/GuiTestApp.h"
#include "tests/platform/EventLoopCases.h"

INSTANTIATE_TEST_SUITE_P(EventLoop, EventLoopCases,
                         ::testing::Values(LoopKind{"Qt",
                                                    [] {
                                                        guiTestApp();
                                                        return std::unique_ptr<EventLoop>(
                                                            new QtEventLoop);
                                                    }}),
                         loopKindName);

namespace {

int64_t now() {
    return Clock::steady().nowMs();
}

// A key press or a mouse press anywhere in the program ends a running wait early.
TEST(QtEventLoop, KeyAndMousePressesEndAWait) {
    guiTestApp();
    QtEventLoop loop;
    QWidget widget;
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::MouseButtonPress}) {
        QTimer::singleShot(30, &widget, [&] {
            if (type == QEvent::KeyPress) {
                QKeyEvent key(type, Qt::Key_A, Qt::NoModifier, "a");
                QApplication::sendEvent(&widget, &key);
            } else {
                QMouseEvent press(type, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                                  Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(&widget, &press);
            }
        });
        const int64_t start = now();
        EXPECT_EQ(loop.runFor(5000), WaitEnd::UserInput) << type;
        EXPECT_LT(now() - start, 2000) << type;
    }
    QKeyEvent late(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&widget, &late);  // nothing waits: forgotten
    EXPECT_EQ(loop.runFor(20), WaitEnd::TimedOut);
}

}  // namespace
