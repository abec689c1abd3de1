// The player's reading thread: pacing along the time line on a simulated clock, captions,
// sound, stopping, packages and damaged files.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <random>
#include <thread>

#include "../fixtures/FakeClock.h"
#include "VideomailTestSupport.h"
#include "videomail/GsmCoder.h"
#include "videomail/H263Coder.h"
#include "videomail/SimulatedClock.h"
#include "videomail/TestPattern.h"
#include "videomail/VmiPlayer.h"
#include "videomail/VmiWriter.h"

namespace {

struct Played {
    uint32_t type;
    int64_t due, actual;
    bool operator==(const Played&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Played& p) {
    return out << "{" << p.type << ", " << p.due << ", " << p.actual << "}";
}

class CapturedOutput : public PlaybackOutput {
public:
    explicit CapturedOutput(bool soundDevice = true) : soundDevice_(soundDevice) {}
    void PictureDecoded(const std::string&) override { ++decoded; }
    void ShowPicture(const std::string& rgb) override {
        std::lock_guard lock(mutex);
        shown.push_back(rgb.substr(0, 4));
    }
    bool QueueSound(const std::string& samples) override {
        sound += samples;
        ++soundCalls;
        return soundDevice_;
    }
    void RecordPlayed(const vmi::Record& record, int64_t due, int64_t actual) override {
        played.push_back({record.type, due, actual});
    }
    void PlaybackFinished() override { ++finished; }

    std::mutex mutex;
    std::vector<std::string> shown;
    std::vector<Played> played;
    std::string sound;
    int decoded = 0, soundCalls = 0;
    std::atomic<int> finished{0};

private:
    bool soundDevice_;
};

// Marks a picture with its caption in brackets over its first bytes.
void markCaption(std::string& rgb, const std::string& caption, bool) {
    rgb.replace(0, 4, ("[" + caption + "]").substr(0, 4));
}

// Writes records at the given stamps (milliseconds after a start just before the 32-bit wrap).
struct Step {
    int atMs;
    uint32_t type;
    std::string data;
};

void writeMessage(const std::string& path, const std::vector<Step>& steps) {
    FakeClock clock;
    clock.advance(0xFFFFF000 - clock.nowMs());
    VmiWriter writer(clock);
    ASSERT_TRUE(writer.Create(path));
    int at = 0;
    for (const Step& step : steps) {
        clock.advance(step.atMs - at);
        at = step.atMs;
        writer.AppendRecord(step.type, step.data);
    }
    writer.Close();
}

std::string picture(int n) {
    static H263Encoder encoder;
    return *encoder.EncodePicture(testPatternPicture(n));
}

std::string soundRecord() {
    GsmEncoder encoder;
    return encoder.EncodeBuffer(sineSamples(1600, 440))[0];  // 200 ms
}

void play(const std::string& path, Clock& clock, CapturedOutput& output, bool pacing = true) {
    VmiPlayer player(clock, output, markCaption);
    player.setPacing(pacing);
    ASSERT_TRUE(player.Play(path));
    player.Wait();
}

}  // namespace

TEST(VmiPlayer, PacesRecordsAlongTheTimeLine) {
    TempFolder folder;
    writeMessage(folder / "m.vmi", {{0, vmi::kVideo, picture(0)},
                                    {100, vmi::kSound, soundRecord()},
                                    {150, vmi::kCaption, "hi"},
                                    {200, vmi::kVideo, picture(1)},
                                    {250, 9, "?"},
                                    {260, vmi::kCaption, ""},
                                    {300, vmi::kCaption, "."},
                                    {60300, vmi::kVideo, picture(2)},  // a gap counts 10 s
                                    {60400, vmi::kSound, soundRecord()}});
    SimulatedClock clock;
    int64_t start = clock.nowMs();
    CapturedOutput output;
    play(folder / "m.vmi", clock, output);
    std::vector<Played> expected = {{1, 0, 0},     {2, 100, 80},      {3, 150, 150},
                                    {1, 200, 200}, {9, 250, 200},     {3, 260, 200},
                                    {3, 300, 300}, {1, 10300, 10300}, {2, 10400, 10380}};
    EXPECT_EQ(output.played, expected);
    // The end waits for the last sound queued at 10380 to play its 200 ms.
    EXPECT_EQ(clock.nowMs() - start, 10580);
    EXPECT_EQ(output.finished, 1);
    EXPECT_EQ(output.decoded, 3);
    EXPECT_EQ(output.sound.size(), 2u * 3200);
    // Shown: picture 0, again with "hi", picture 1 with it, again cleared, picture 2.
    ASSERT_EQ(output.shown.size(), 5u);
    EXPECT_EQ(output.shown[1], "[hi]");
    EXPECT_EQ(output.shown[2], "[hi]");
    EXPECT_NE(output.shown[3], "[hi]");
    EXPECT_NE(output.shown[4], "[hi]");
}

TEST(VmiPlayer, QueuesSoundOnlyMessages20MsEarly) {
    TempFolder folder;
    writeMessage(folder / "m.vmi", {{0, vmi::kSound, soundRecord()},
                                    {200, vmi::kSound, soundRecord()},
                                    {400, vmi::kSound, soundRecord()}});
    SimulatedClock clock;
    int64_t start = clock.nowMs();
    CapturedOutput output;
    play(folder / "m.vmi", clock, output);
    std::vector<Played> expected = {{2, 0, 0}, {2, 200, 180}, {2, 400, 380}};
    EXPECT_EQ(output.played, expected);
    EXPECT_EQ(clock.nowMs() - start, 600);
}

TEST(VmiPlayer, SkipsSoundWithoutADeviceAndPlaysUnpaced) {
    TempFolder folder;
    writeMessage(folder / "m.vmi", {{0, vmi::kSound, soundRecord()},
                                    {5000, vmi::kVideo, picture(0)},
                                    {9000, vmi::kSound, soundRecord()}});
    SimulatedClock clock;
    int64_t start = clock.nowMs();
    CapturedOutput output(false);
    play(folder / "m.vmi", clock, output, false);
    EXPECT_EQ(output.soundCalls, 1);
    EXPECT_EQ(output.decoded, 1);
    EXPECT_EQ(clock.nowMs(), start);
}

TEST(VmiPlayer, StopWakesTheThreadAndASecondPlayIsIgnored) {
    TempFolder folder;
    writeMessage(folder / "m.vmi", {{0, vmi::kVideo, picture(0)}, {9000, vmi::kVideo, picture(1)}});
    CapturedOutput output;
    VmiPlayer player(Clock::steady(), output, markCaption);
    auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(player.Play(folder / "m.vmi"));
    EXPECT_TRUE(player.Play(folder / "m.vmi"));
    EXPECT_TRUE(player.isPlaying());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    player.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(output.finished, 1);
    EXPECT_EQ(output.decoded, 1);
    EXPECT_FALSE(player.Play(folder / "missing.vmi"));
}

TEST(VmiPlayer, PlaysAPackageInPlace) {
    TempFolder folder;
    writeMessage(folder / "m.vmi", {{0, vmi::kVideo, picture(0)}, {33, vmi::kVideo, picture(1)}});
    std::string launcher = "#!/bin/sh\nexec reelplay \"$0\"\n";
    writeFile(folder / "m.exe",
              launcher + std::string(150000 - launcher.size(), '\0') + readFile(folder / "m.vmi"));
    SimulatedClock clock;
    CapturedOutput output;
    play(folder / "m.exe", clock, output);
    EXPECT_EQ(output.decoded, 2);
}

TEST(VmiPlayer, DamagedMessagesPlayWithoutHarm) {
    TempFolder folder;
    std::vector<Step> steps;
    for (int i = 0; i < 8; ++i) {
        steps.push_back({i * 33, vmi::kVideo, picture(i)});
        steps.push_back({i * 33 + 10, vmi::kSound, soundRecord()});
    }
    steps.push_back({300, vmi::kCaption, std::string(300, '\xB0')});
    writeMessage(folder / "m.vmi", steps);
    std::string message = readFile(folder / "m.vmi");
    std::mt19937 random(27);
    for (int round = 0; round < 60; ++round) {
        std::string damaged = message.substr(0, 316 + random() % (message.size() - 316));
        for (int i = 0; i < 20; ++i)
            damaged[316 + random() % (damaged.size() - 316)] ^= 1 << random() % 8;
        writeFile(folder / "d.vmi", damaged);
        SimulatedClock clock;
        CapturedOutput output;
        play(folder / "d.vmi", clock, output, round % 2 == 0);
        EXPECT_EQ(output.finished, 1) << round;
        EXPECT_EQ(output.sound.size() % 320, 0u);
    }
}
