// quilite-image as a user runs it: decoded pictures equal djpeg's, a captured inline picture
// stream prints its answers, conversions read back through bmptopnm, and the exit statuses.
#include <gtest/gtest.h>

#include <cstdio>

#include "image/DImagePackets.h"
#include "tests/image/PictureFiles.h"

namespace {

const std::string kTool = QUILITE_BINARY_DIR "/tools/quilite-image";

std::string output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, got);
    pclose(pipe);
    return out;
}

class ImageTool : public ::testing::Test {
protected:
    void SetUp() override {
        writePpm(seededPhoto(90, 70, 21), folder.path("in.ppm"));
        ASSERT_EQ(runCommand("cd " + folder.path() +
                             " && cjpeg -progressive in.ppm > pic.jpg && djpeg pic.jpg > want.ppm"),
                  0);
    }
    std::string run(const std::string& args) {
        return "cd " + folder.path() + " && " + kTool + " " + args;
    }
    ScratchFolder folder;
};

TEST_F(ImageTool, DecodeInSingleBytesEqualsDjpeg) {
    ASSERT_EQ(runCommand(run("decode --chunk 1 --png p.png pic.jpg > out.json")), 0);
    ASSERT_EQ(runCommand("cd " + folder.path() + " && pngtopam p.png | cmp -s - want.ppm"), 0);
    const std::vector<uint8_t> json = readFileBytes(folder.path("out.json"));
    EXPECT_EQ(
        std::string(json.begin(), json.end()),
        "{\"picture\": {\"width\": 90, \"height\": 70, \"rows\": 70}, \"progressive\": true}\n");
}

TEST_F(ImageTool, CapturedStreamPrintsTheAnswers) {
    const std::vector<uint8_t> jpeg = readFileBytes(folder.path("pic.jpg"));
    const std::string picture(jpeg.begin(), jpeg.end());
    std::string stream = dimagePacket('A', "12 5");
    size_t packets = 0;
    for (size_t at = 0; at < picture.size(); at += 1000, ++packets)
        stream += dimagePacket('D', picture.substr(at, 1000));
    stream += dimagePacket('Z', "");
    writeFileBytes(folder.path("stream"), std::vector<uint8_t>(stream.begin(), stream.end()));
    std::string answers = "01 41 23 40 0d";
    for (size_t i = 0; i < packets; ++i)
        answers += " 01 44 23 40 0d";
    EXPECT_EQ(output(run("dimage --png d.png stream")),
              "{\"answers\": \"" + answers +
                  "\", \"window\": {\"x\": 96, \"y\": 80}, \"states\": [1, 2, 3, 5], "
                  "\"badPackets\": 0, \"modes\": [1, 0], \"picture\": {\"width\": 90, "
                  "\"height\": 70, \"rows\": 70}}\n");
    EXPECT_EQ(runCommand("cd " + folder.path() + " && pngtopam d.png | cmp -s - want.ppm"), 0);
    EXPECT_EQ(output(run("dimage --chollian-image 0 stream")),
              "{\"answers\": \"01 5a 23 40 0d\", \"window\": null, \"states\": [1, 4, 5], "
              "\"badPackets\": 0, \"modes\": [1, 0], \"picture\": null}\n");
}

TEST_F(ImageTool, ZimageAndConvert) {
    ASSERT_EQ(runCommand(run("zimage --grow 700 --png z.png pic.jpg > /dev/null")), 0);
    EXPECT_EQ(runCommand("cd " + folder.path() + " && pngtopam z.png | cmp -s - want.ppm"), 0);
    ASSERT_EQ(
        runCommand("cd " + folder.path() + " && ppmtobmp -bpp 24 want.ppm > in.bmp 2>/dev/null"),
        0);
    ASSERT_EQ(runCommand(run("convert --bits 8 --rle in.bmp rle.bmp")), 0);
    ASSERT_EQ(runCommand(run("convert --bits 8 rle.bmp plain.bmp")), 0);
    EXPECT_EQ(runCommand("cd " + folder.path() +
                         " && bmptopnm rle.bmp > a.ppm 2>/dev/null && bmptopnm plain.bmp > b.ppm "
                         "2>/dev/null && cmp -s a.ppm b.ppm"),
              0);
}

TEST_F(ImageTool, ExitStatuses) {
    writeFileBytes(folder.path("junk"), {'n', 'o', 'p', 'e'});
    struct Case {
        std::string args;
        int status;
    };
    const Case cases[] = {{"decode junk", 1},
                          {"decode missing.jpg", 1},
                          {"zimage junk", 1},
                          {"convert pic.jpg out.bmp", 1},
                          {"decode", 2},
                          {"decode --chunk 0 pic.jpg", 2},
                          {"paint pic.jpg", 2},
                          {"dimage --chollian-image 3 x", 2},
                          {"convert --bits 2 a b", 1},
                          {"convert --rle pic.jpg", 2}};
    for (const Case& c : cases)
        EXPECT_EQ(runCommand(run(c.args + " > /dev/null 2>&1")), c.status) << c.args;
}

}  // namespace
