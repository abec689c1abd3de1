// Recording from synthetic sources on a simulated clock: what is written when.
#include <gtest/gtest.h>

#include "VideomailTestSupport.h"
#include "videomail/H263Coder.h"
#include "videomail/MessageRecorder.h"
#include "videomail/SimulatedClock.h"
#include "videomail/TestPattern.h"
#include "videomail/VmiReader.h"

namespace {

struct Written {
    uint32_t type;
    int64_t atMs;
    size_t length;
    bool operator==(const Written&) const = default;
};

std::vector<Written> written(const std::string& path, int64_t start) {
    VmiReader reader;
    std::vector<Written> records;
    if (!reader.Open(path)) return records;
    while (auto r = reader.ReadRecord())
        records.push_back({r->type, static_cast<uint32_t>(r->timeMs - start), r->data.size()});
    return records;
}

std::vector<Written> ofType(const std::vector<Written>& all, uint32_t type) {
    std::vector<Written> some;
    for (const Written& w : all)
        if (w.type == type) some.push_back(w);
    return some;
}

}  // namespace

TEST(Record, WritesPicturesSoundAndCaptionsOnTime) {
    TempFolder folder;
    PatternVideoSource video;
    ToneAudioSource audio(440);
    RecordingPlan plan{1000, &video, &audio, {{1000, "\xEC\x95\x88"}, {500, ""}, {1001, "late"}}};
    SimulatedClock clock;
    int64_t start = clock.nowMs();
    ASSERT_TRUE(Record(folder / "m.vmi", plan, clock));
    auto all = written(folder / "m.vmi", static_cast<uint32_t>(start));
    auto pictures = ofType(all, vmi::kVideo);
    ASSERT_EQ(pictures.size(), 30u);
    for (int n = 0; n < 30; ++n)
        EXPECT_EQ(pictures[n].atMs, n * 1000 / 30);
    std::vector<Written> sound = ofType(all, vmi::kSound);
    std::vector<Written> expectedSound;
    for (int k = 1; k <= 5; ++k)
        expectedSound.push_back({vmi::kSound, k * 200, 330});
    EXPECT_EQ(sound, expectedSound);
    std::vector<Written> captions = {{vmi::kCaption, 500, 1}, {vmi::kCaption, 1000, 2}};
    EXPECT_EQ(ofType(all, vmi::kCaption), captions);
    // At 200 ms the sound buffer is written before the picture.
    auto at200 =
        std::find_if(all.begin(), all.end(), [](const Written& w) { return w.atMs == 200; });
    EXPECT_EQ(at200->type, vmi::kSound);
    EXPECT_EQ(clock.nowMs() - start, 1000);
}

TEST(Record, TakesRawFilesUntilTheyEnd) {
    TempFolder folder;
    writeFile(folder / "v.yuv", testPatternPicture(0) + testPatternPicture(1) + "partial");
    writeFile(folder / "s.raw", sineSamples(2500, 300));  // 5000 bytes: 3200 + 1800
    RawFileSource video(folder / "v.yuv", qcif::kPictureBytes);
    RawFileSource audio(folder / "s.raw", kSoundBufferBytes);
    RecordingPlan plan{2000, &video, &audio, {}};
    SimulatedClock clock;
    int64_t start = clock.nowMs();
    ASSERT_TRUE(Record(folder / "m.vmi", plan, clock));
    auto all = written(folder / "m.vmi", static_cast<uint32_t>(start));
    EXPECT_EQ(ofType(all, vmi::kVideo).size(), 2u);
    std::vector<Written> sound = {{vmi::kSound, 200, 330}, {vmi::kSound, 400, 6 * 33}};
    EXPECT_EQ(ofType(all, vmi::kSound), sound);
}

TEST(Record, RefusesAFileThatCannotBeCreated) {
    TempFolder folder;
    PatternVideoSource video;
    SimulatedClock clock;
    EXPECT_FALSE(Record(folder / "no/m.vmi", {1000, &video, nullptr, {}}, clock));
}
