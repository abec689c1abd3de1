// reelpost record and reelplay --headless as programs, their results checked by ffmpeg, toast and
// untoast.
#include <gtest/gtest.h>

#include <cstdlib>

#include "VideomailTestSupport.h"
#include "videomail/TestPattern.h"
#include "videomail/VmiReader.h"
#include "videomail/YuvConv.h"

namespace {

const std::string kReelpost = QUILITE_BINARY_DIR "/videomail/reelpost";
const std::string kReelplay = QUILITE_BINARY_DIR "/videomail/reelplay";

int run(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The data of all records of one type, one after the other.
std::string recordData(const std::string& path, uint32_t type, int* count = nullptr) {
    VmiReader reader;
    std::string data;
    int records = 0;
    if (reader.Open(path))
        while (auto r = reader.ReadRecord()) {
            ++records;
            if (r->type == type) data += r->data;
        }
    if (count) *count = records;
    return data;
}

class RecordPlay : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1); }
    TempFolder folder;
};

}  // namespace

TEST_F(RecordPlay, PlaysWhatWasRecordedAsThePeersDecodeIt) {
    std::string message = folder / "m.vmi";
    ASSERT_EQ(run(kReelpost + " record '" + message +
                  "' --seconds 2 --video pattern --audio tone:1000 --caption 500:안녕"
                  " --caption 1500: --simulated-clock"),
              0);
    ASSERT_EQ(run(kReelplay + " --headless --no-pacing --events --raw-video '" + folder / "v.yuv" +
                  "' --rgb '" + folder / "v.rgb" + "' --wav '" + folder / "s.wav" + "' '" +
                  message + "' > '" + folder / "events" + "'"),
              0);

    writeFile(folder / "v.h263", recordData(message, 1));
    ASSERT_EQ(run("ffmpeg -nostdin -v error -f h263 -i '" + folder / "v.h263" +
                  "' -f rawvideo -pix_fmt yuv420p '" + folder / "peer.yuv" + "'"),
              0);
    std::string pictures = readFile(folder / "v.yuv");
    EXPECT_EQ(pictures.size(), 60u * 38016);
    EXPECT_TRUE(pictures == readFile(folder / "peer.yuv"));

    writeFile(folder / "s.gsm", recordData(message, 2));
    ASSERT_EQ(run("untoast -l -c '" + folder / "s.gsm" + "' > '" + folder / "peer.l" + "'"), 0);
    std::string wav = readFile(folder / "s.wav");
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.size(), 44u + 10 * 3200);
    EXPECT_TRUE(wav.substr(44) == readFile(folder / "peer.l"));

    // Shown: 60 pictures and the last one again at each caption change (500 ms, before the
    // picture due then, and 1500 ms). Those from the first change up to the second carry the
    // caption, the others are the decoded pictures as they are.
    std::string rgb = readFile(folder / "v.rgb");
    constexpr size_t kRgb = 176 * 144 * 3, kYuv = 176 * 144 * 3 / 2;
    ASSERT_EQ(rgb.size(), 62 * kRgb);
    for (int shown = 0; shown < 62; ++shown) {
        int decoded = shown < 15 ? shown : shown <= 45 ? shown - 1 : shown - 2;
        bool captioned = shown >= 15 && shown <= 45;
        auto plain = yuv420ToRgb24(176, 144, pictures.substr(decoded * kYuv, kYuv));
        EXPECT_EQ(rgb.compare(shown * kRgb, kRgb, *plain) != 0, captioned) << shown;
    }

    int records = 0;
    recordData(message, 0, &records);
    std::string events = readFile(folder / "events");
    EXPECT_EQ(std::count(events.begin(), events.end(), '\n'), records);
}

TEST_F(RecordPlay, RecordsRawFilesAsToastCodesThem) {
    std::string pictures;
    for (int n = 0; n < 10; ++n)
        pictures += testPatternPicture(n * 3);
    writeFile(folder / "in.yuv", pictures);
    std::string samples = sineSamples(8000, 700);  // 1 s: five whole buffers
    writeFile(folder / "in.l", samples);
    std::string message = folder / "m.vmi";
    ASSERT_EQ(run(kReelpost + " record '" + message + "' --seconds 1 --video 'yuv:" +
                  folder / "in.yuv" + "' --audio 's16:" + folder / "in.l" + "' --simulated-clock"),
              0);
    ASSERT_EQ(run("toast -l -c '" + folder / "in.l" + "' > '" + folder / "peer.gsm" + "'"), 0);
    EXPECT_TRUE(recordData(message, 2) == readFile(folder / "peer.gsm"));
    ASSERT_EQ(run(kReelplay + " --headless --no-pacing --raw-video '" + folder / "v.yuv" + "' '" +
                  message + "'"),
              0);
    EXPECT_EQ(readFile(folder / "v.yuv").size(), pictures.size());
}

TEST_F(RecordPlay, ReportsFilesItCannotUse) {
    struct Case {
        std::string command;
        int status;
        std::string message;
    } cases[] = {
        {kReelplay + " --headless '" + folder / "none.vmi" + "'", 1, "File Open Error"},
        {kReelpost + " record '" + folder / "no/m.vmi" + "' --seconds 1 --video pattern", 1,
         "Record failed"},
        {kReelpost + " record '" + folder / "m.vmi" + "' --seconds 1 --video yuv:/nonexistent", 2,
         "cannot open the source"},
        {kReelpost + " record '" + folder / "m.vmi" + "' --seconds x", 2, "usage"},
        {kReelplay + " --headless --rgb '" + folder / "no/x.rgb" + "' m.vmi", 1, "cannot create"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.command + " 2> '" + folder / "err" + "'"), c.status) << c.command;
        EXPECT_NE(readFile(folder / "err").find(c.message), std::string::npos) << c.command;
    }
}
