// reelplay's window on the offscreen platform: it plays a message to its end in real time and
// shows the last picture as the headless player draws it; Stop ends playing at once.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "../app/gui/GuiTestApp.h"
#include "RunEvents.h"
#include "VideomailTestSupport.h"
#include "videomail/H263Coder.h"
#include "videomail/MessageRecorder.h"
#include "videomail/PlayerWindow.h"
#include "videomail/SimulatedClock.h"
#include "videomail/VmiReader.h"
#include "videomail/YuvConv.h"

namespace {

// The message's last picture as RGB24, decoded here.
std::string lastPicture(const std::string& path) {
    VmiReader reader;
    H263Decoder decoder;
    std::string last;
    reader.Open(path);
    while (auto record = reader.ReadRecord())
        if (record->type == vmi::kVideo)
            if (auto picture = decoder.DecodePicture(record->data)) last = *picture;
    return yuv420ToRgb24(176, 144, last).value_or("");
}

class PlayerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        guiTestApp();
        PatternVideoSource video;
        ToneAudioSource audio(500);
        SimulatedClock clock;
        ASSERT_TRUE(Record(folder / "m.vmi", {500, &video, &audio, {{100, "자막"}}}, clock));
    }
    TempFolder folder;
};

}  // namespace

TEST_F(PlayerWindowTest, PlaysToTheEndAndShowsTheLastPicture) {
    PlayerWindow window(folder / "m.vmi");
    window.show();
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(window.Play());
    EXPECT_TRUE(window.Play());  // ignored while playing
    runUntil([&] { return window.finished(); }, 5000);
    ASSERT_TRUE(window.finished());
    EXPECT_GE(timer.elapsed(), 450);
    QApplication::processEvents();
    // The last of 15 pictures, with its caption in the strip at the bottom.
    QImage shown = window.picture().convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(shown.size(), QSize(176, 144));
    std::string above = lastPicture(folder / "m.vmi").substr(0, 176 * 120 * 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(shown.constBits()), 176 * 120 * 3), above);
    int blue = 0;
    for (int y = 120; y < 144; ++y)
        for (int x = 0; x < 176; ++x)
            blue += shown.pixelColor(x, y) == QColor(Qt::blue);
    EXPECT_GT(blue, 100);
}

TEST_F(PlayerWindowTest, StopsAtOnce) {
    PatternVideoSource video;
    SimulatedClock clock;
    ASSERT_TRUE(Record(folder / "long.vmi", {20000, &video, nullptr, {}}, clock));
    PlayerWindow window(folder / "long.vmi");
    ASSERT_TRUE(window.Play());
    runUntil([] { return false; }, 200);
    QElapsedTimer timer;
    timer.start();
    window.Stop();
    EXPECT_LT(timer.elapsed(), 500);
    runUntil([&] { return window.finished(); }, 1000);
    EXPECT_TRUE(window.finished());
}
