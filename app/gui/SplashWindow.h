#pragma once
// The picture shown over the main window while the program starts: "quilite.bmp" of the
// installed data folder in a borderless window with rounded corners. It goes at the first tick
// of its 3000-ms timer that comes more than 4000 ms after it appeared (so after about six
// seconds), or at once when a key or a mouse button is pressed anywhere in the program.
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <string>

#include "platform/Clock.h"

// When the splash may show: only for the first copy, started without connection arguments and
// without "--nosplash", whose window did not have to give up its stored position.
struct SplashConditions {
    bool noSplashOption = false;
    bool secondCopy = false;
    bool connectionArguments = false;
    bool positionTaken = false;
};
bool SplashAllowed(const SplashConditions& conditions);

class SplashWindow : public QWidget {
public:
    static constexpr int kTickMs = 3000;
    static constexpr int kShownMs = 4000;

    // Shows the picture of `path` centred over `over`; nothing when it cannot be read. The
    // window deletes itself when it closes.
    static QPointer<SplashWindow> Show(const std::string& path, QWidget& over,
                                       Clock& clock = Clock::steady());
    // The timer's tick: closes the splash once it has shown long enough.
    void Tick();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SplashWindow(QImage picture, QWidget& over, Clock& clock);

    QImage picture_;
    Clock& clock_;
    int64_t shownAt_;
    QTimer timer_;
};
