// The picture documents: the inline packet parser, DImage transfers against a host that answers
// packet by packet (good and faulty), the ZImage feeder as a file grows, ZFile, and the hooks.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "image/DImageDoc.h"
#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "image/PictureCommands.h"
#include "image/ZImageDoc.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/DImageHost.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/image/PictureFiles.h"

namespace {

std::string bytesOf(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

// A 24-bit BMP file of a seeded picture.
std::string bmpPicture(int width, int height, const ScratchFolder& folder) {
    HDIB dib = BitmapToDIB(seededPhoto(width, height, 5), {});
    SaveDIB(dib, folder.path("picture.bmp"));
    DestroyDIB(dib);
    return bytesOf(readFileBytes(folder.path("picture.bmp")));
}

Surface bmpPixels(const std::string& file) {
    HDIB dib = dibFromBmp(std::vector<uint8_t>(file.begin(), file.end()));
    Surface shown = DIBToBitmap(dib, {});
    DestroyDIB(dib);
    return shown;
}

TEST(DImagePackets, ParserUndoesPrefixesAndFlagsBadPackets) {
    struct Case {
        const char* name;
        std::string bytes;
        char type;
        std::string data;
        bool good;
    };
    const std::string big(kPacketCapacity + 1, 'x');
    const Case cases[] = {
        {"plain",
         "\x01"
         "DaHa\r",
         'D', "Ha", false},
        {"sum",
         "\x01"
         "D"
         "\xa9"
         "Ha\r",
         'D', "Ha", true},
        {"## is #",
         "\x01"
         "D####\r",
         'D', "#", true},
        {"#A is 0x01",
         "\x01"
         "D#A#A\r",
         'D', "\x01", true},
        {"# before CR",
         "\x01"
         "D#@#\r",
         'D', "", false},
        {"SOH restarts",
         "\x01"
         "Dxyz\x01"
         "A#@\r",
         'A', "", true},
        {"CR in the check",
         "\x01"
         "D\r",
         'D', "", false},
        {"oversized",
         "\x01"
         "D" +
             std::string(1, static_cast<char>('x' * (kPacketCapacity + 1) % 256)) + big + "\r",
         'D', big.substr(0, kPacketCapacity), false},
    };
    for (const Case& c : cases) {
        DImagePacketParser parser;
        int ended = 0;
        for (char b : c.bytes)
            ended += parser.put(static_cast<uint8_t>(b));
        ASSERT_EQ(ended, 1) << c.name;
        EXPECT_EQ(parser.packet().type, c.type) << c.name;
        EXPECT_EQ(bytesOf(parser.packet().data), c.data) << c.name;
        EXPECT_EQ(parser.packet().good(), c.good) << c.name;
    }
    EXPECT_EQ(dimageAnswer('A'),
              "\x01"
              "A#@\r");
    EXPECT_EQ(dimagePacket('D', std::string("\x01#\r", 3)),
              "\x01"
              "D1#A###M\r");
}

// A DImage document talking to a host fixture, as the session pumps it.
struct Transfer {
    FakeClock clock;
    DImageHost host;
    std::vector<int> modes;
    int queryAnswer = 0;
    VNImageHooks hooks{[this] { return host.readByte(); }, [this](int b) { host.writeByte(b); },
                       [this](int mode) { modes.push_back(mode); },
                       [this](const DImageDoc&) { return queryAnswer; }};
    std::unique_ptr<DImageDoc> doc;

    Transfer(const std::string& picture, DImageHostFaults faults = {}, bool chollianImage = true,
             const std::string& temp = std::filesystem::temp_directory_path().string())
        : host(picture, 12, 5, 700, std::move(faults)),
          doc(std::make_unique<DImageDoc>(hooks, clock, chollianImage, temp)) {}

    // Pumps until the document finishes or the host has nothing more to say.
    void run() {
        for (int pass = 0; pass < 1000 && doc->State() != DImageDoc::kFinished; ++pass) {
            doc->Pump();
            doc->DecodeAll();
            clock.advance(10);
        }
    }
};

TEST(DImageDoc, GoodHostPictureArrivesAndIsKept) {
    ScratchFolder folder;
    const std::string picture = bmpPicture(40, 30, folder);
    Transfer t(picture, {}, true, folder.path());
    t.run();
    const int packets = static_cast<int>((picture.size() + 699) / 700);
    EXPECT_EQ(t.host.answers('A'), 1);
    EXPECT_EQ(t.host.answers('D'), packets);
    EXPECT_EQ(t.host.answers('Z'), 0);
    EXPECT_EQ(t.host.received().substr(0, 10),
              "\x01"
              "A#@\r\x01"
              "D#@\r");
    EXPECT_EQ(t.doc->StateHistory(), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(t.modes, (std::vector<int>{1, 0}));
    EXPECT_EQ(t.doc->WindowX(), 96);
    EXPECT_EQ(t.doc->WindowY(), 80);
    EXPECT_EQ(t.host.unread(), "\x1b%C");  // left for the terminal
    ASSERT_NE(t.doc->Picture(), nullptr);
    EXPECT_EQ(t.doc->Picture()->pixels, bmpPixels(picture).pixels);
    const std::string kept = t.doc->FilePath();
    EXPECT_EQ(bytesOf(readFileBytes(kept)), picture);
    struct stat st {};
    ASSERT_EQ(stat(kept.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    t.doc.reset();
    EXPECT_FALSE(std::filesystem::exists(kept));
    EXPECT_EQ(t.modes, (std::vector<int>{1, 0}));
    EXPECT_EQ(t.host.received().find('\x18'), std::string::npos);
}

TEST(DImageDoc, FaultyHosts) {
    ScratchFolder folder;
    const std::string picture = bmpPicture(40, 30, folder);
    struct Case {
        const char* name;
        DImageHostFaults faults;
        int badPackets;
        bool cancelled;
    };
    const Case cases[] = {
        {"one wrong check", {{1}, {}, -1, -1}, 1, false},
        {"two wrong checks", {{1, 3}, {}, -1, -1}, 2, true},
        {"lost CR", {{}, {0, 2}, -1, -1}, 0, false},
        {"oversized", {{}, {}, 1, -1}, 1, false},
        {"oversized and wrong check", {{2}, {}, 1, -1}, 2, true},
    };
    for (const Case& c : cases) {
        Transfer t(picture, c.faults, true, folder.path());
        t.run();
        EXPECT_EQ(t.doc->BadPackets(), c.badPackets) << c.name;
        EXPECT_EQ(t.host.cancelled(), c.cancelled) << c.name;
        EXPECT_EQ(t.doc->State(), DImageDoc::kFinished) << c.name;
        EXPECT_EQ(t.modes.back(), 0) << c.name;
        if (!c.cancelled) {
            EXPECT_EQ(t.doc->Picture()->pixels, bmpPixels(picture).pixels) << c.name;
        } else {
            EXPECT_EQ(t.doc->StateHistory().rbegin()[1], DImageDoc::kCancelled) << c.name;
        }
    }
}

TEST(DImageDoc, SilenceCancelsAndFinishes) {
    ScratchFolder folder;
    const std::string picture = bmpPicture(40, 30, folder);
    Transfer t(picture, {{}, {}, -1, 2}, true, folder.path());
    t.run();  // the host stops after two data packets
    EXPECT_EQ(t.doc->State(), DImageDoc::kReceiving);
    t.clock.advance(DImageDoc::kStallCancelMs);
    t.doc->Pump();
    EXPECT_TRUE(t.host.cancelled());
    // The host ends its packet with a CR: finished.
    t.doc->Pump();
    EXPECT_EQ(t.doc->State(), DImageDoc::kFinished);
    EXPECT_EQ(t.modes, (std::vector<int>{1, 0}));

    // A cancel that no CR follows finishes after a few seconds of silence.
    Transfer quiet(picture, {{}, {}, -1, 2}, true, folder.path());
    quiet.run();
    quiet.doc->Cancel();
    quiet.doc->Pump();  // the host's CR is not read yet: its queue got it after our answer
    EXPECT_EQ(quiet.doc->State(), DImageDoc::kFinished);
    Transfer silent(picture, {{}, {}, -1, 0}, true, folder.path());
    silent.doc->Pump();
    silent.doc->Cancel();
    silent.host.readByte();  // the CR is lost
    silent.doc->Pump();
    EXPECT_EQ(silent.doc->State(), DImageDoc::kCancelled);
    silent.clock.advance(DImageDoc::kCancelWaitMs);
    silent.doc->Pump();
    EXPECT_EQ(silent.doc->State(), DImageDoc::kFinished);
}

TEST(DImageDoc, StopRequestsAndSettings) {
    ScratchFolder folder;
    const std::string picture = bmpPicture(20, 10, folder);
    // "ChollianImage" 0: the host hears "Z" before any picture.
    Transfer refused(picture, {}, false, folder.path());
    EXPECT_EQ(refused.host.received(),
              "\x01"
              "Z#@\r");
    refused.run();
    EXPECT_EQ(refused.doc->Picture(), nullptr);
    EXPECT_EQ(refused.doc->State(), DImageDoc::kFinished);

    // The session asks for a stop (link-busy 2): mode 1 again, then the cancel.
    Transfer stopped(picture, {{}, {}, -1, 1}, true, folder.path());
    stopped.doc->Pump();
    stopped.queryAnswer = 2;
    stopped.doc->Pump();
    EXPECT_TRUE(stopped.host.cancelled());
    EXPECT_EQ(stopped.modes.front(), 1);
    EXPECT_EQ(stopped.modes[1], 1);
}

TEST(DImageDoc, AbandonedTransferSendsTheAbortString) {
    ScratchFolder folder;
    Transfer t(bmpPicture(40, 30, folder), {{}, {}, -1, 1}, true, folder.path());
    t.doc->Pump();
    t.doc.reset();
    const std::string abort = std::string(10, '\x18') + std::string(10, '\b');
    EXPECT_EQ(t.host.received().substr(t.host.received().size() - 20), abort);
    EXPECT_EQ(t.modes, (std::vector<int>{1, 0}));
}

TEST(DImageDoc, NoTemporaryFileStillShowsThePicture) {
    ScratchFolder folder;
    const std::string picture = bmpPicture(40, 30, folder);
    Transfer t(picture, {}, true, folder.path("missing"));
    t.run();
    EXPECT_TRUE(t.doc->FilePath().empty());
    EXPECT_EQ(t.doc->Picture()->pixels, bmpPixels(picture).pixels);
}

TEST(ZImageDoc, FeedsWholeKilobytesThenEverythingAtTheEnd) {
    ScratchFolder folder;
    // Larger than 260 KB, so an end that fed only that much would cut it.
    const std::string picture = bmpPicture(320, 300, folder);
    const std::string path = folder.path("growing.bmp");
    FakeClock clock;
    ZImageDoc doc(path, clock);
    int rows = 0;
    struct Rows : ImageDocObserver {
        int& rows;
        explicit Rows(int& r) : rows(r) {}
        bool OnPictureRows(int, int count) override {
            rows += count;
            return true;
        }
    } observer(rows);
    doc.SetObserver(&observer);
    writeFileBytes(path, std::vector<uint8_t>(picture.begin(), picture.begin() + 5000));
    doc.SetPos(5000);
    doc.DecodeAll();
    EXPECT_EQ(rows, (4096 - 54) / 960);  // rows of 960 bytes in the first four kilobytes
    EXPECT_TRUE(doc.TransferRunning());
    writeFileBytes(path, std::vector<uint8_t>(picture.begin(), picture.end()));
    doc.End();
    doc.DecodeAll();
    EXPECT_FALSE(doc.TransferRunning());
    EXPECT_EQ(rows, 300);
    EXPECT_EQ(doc.Picture()->pixels, bmpPixels(picture).pixels);
    EXPECT_EQ(doc.Title(), "growing.bmp");

    // Received again from the start: decoded again.
    doc.Reload();
    rows = 0;
    doc.End();
    doc.DecodeAll();
    EXPECT_EQ(rows, 300);
}

TEST(ZFileDoc, ShowsAWholeFileTitledByItsName) {
    ScratchFolder folder;
    const std::string picture = bmpPicture(33, 21, folder);
    FakeClock clock;
    ZFileDoc doc(folder.path("picture.bmp"), clock);
    EXPECT_TRUE(doc.Opened());
    doc.DecodeAll();
    EXPECT_EQ(doc.Title(), "picture.bmp");
    EXPECT_EQ(doc.Picture()->pixels, bmpPixels(picture).pixels);
    EXPECT_FALSE(doc.Undecodable());
    ZFileDoc missing(folder.path("none.jpg"), clock);
    missing.DecodeAll();
    EXPECT_FALSE(missing.Opened());
    EXPECT_TRUE(missing.Undecodable());
}

// Without gsettings the picture is still written where the wallpaper is kept, and the user is
// told where.
TEST(PictureCommands, WallpaperWithoutADesktopSaysWhereThePictureIs) {
    ScratchFolder folder;
    const std::string picture = bmpPicture(16, 12, folder);
    const std::string oldPath = getenv("PATH");
    const char* oldData = getenv("XDG_DATA_HOME");
    const std::string keptData = oldData ? oldData : "";
    setenv("XDG_DATA_HOME", folder.path("data").c_str(), 1);
    setenv("PATH", folder.path("nothing").c_str(), 1);
    FakeClock clock;
    ZFileDoc doc(folder.path("picture.bmp"), clock);
    doc.DecodeAll();
    ScriptedPrompt prompt;
    ProcessLauncher launcher;
    EXPECT_FALSE(setWallpaper(doc, prompt, launcher));
    setenv("PATH", oldPath.c_str(), 1);
    oldData ? setenv("XDG_DATA_HOME", keptData.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    const std::string kept = folder.path("data/quilite/quilite-wallpaper.bmp");
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_NE(prompt.asked[0].text.find(kept), std::string::npos);
    EXPECT_EQ(bmpPixels(bytesOf(readFileBytes(kept))).pixels, bmpPixels(picture).pixels);

    // Saving copies the received file under the chosen name, which becomes the title.
    FileReply reply;
    reply.answer = FileAnswer::Accepted;
    reply.paths = {folder.path("copy.JPG")};
    prompt.expectFile(reply);
    EXPECT_TRUE(savePictureFile(doc, prompt));
    EXPECT_EQ(readFileBytes(folder.path("copy.JPG")), readFileBytes(folder.path("picture.bmp")));
    EXPECT_EQ(doc.Title(), "copy.JPG");
    EXPECT_EQ(prompt.filesAsked[0].fileName, "picture.bmp");
    EXPECT_FALSE(savePictureFile(doc, prompt));  // cancelled
}

TEST(VNImage, InitChecksTheHooks) {
    ScriptedPrompt prompt;
    EXPECT_EQ(VNImageInit(nullptr, prompt), 0);
    VNImageHooks partial{[] { return -1; }, [](int) {}, nullptr,
                         [](const DImageDoc&) { return 0; }};
    EXPECT_EQ(VNImageInit(&partial, prompt), 0);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text, "Invalid DLL Version");
    EXPECT_EQ(prompt.asked[0].caption, "vnimage.dll");
    EXPECT_EQ(VNImageHooksInUse(), nullptr);
    partial.setMode = [](int) {};
    EXPECT_EQ(VNImageInit(&partial, prompt), 1);
    EXPECT_NE(VNImageHooksInUse(), nullptr);
    EXPECT_EQ(prompt.asked.size(), 2u);
}

}  // namespace
