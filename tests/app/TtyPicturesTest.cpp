// Inline pictures under the tty: no window; the picture goes into the download folder and the
// status line names it.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/tty/TtyPictures.h"
#include "auto/Folders.h"
#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "platform/PollEventLoop.h"
#include "tests/auto/TempProfile.h"
#include "tests/fixtures/DImageHost.h"
#include "tests/fixtures/FakeClock.h"

namespace {

class TtyPicturesTest : public TempProfile {
protected:
    std::string bmpBytes() {
        HDIB dib = CreateDIB(30, 20, 24);
        const std::string path = dir + "/p.bmp";
        SaveDIB(dib, path);
        DestroyDIB(dib);
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    PollEventLoop loop;
    FakeClock clock;
    std::vector<std::string> statuses;
};

TEST_F(TtyPicturesTest, ReceivedPictureGoesToTheDownloadFolder) {
    const std::string picture = bmpBytes();
    DImageHost host(picture, 1, 1, 400);
    VNImageHooks hooks{[&] { return host.readByte(); }, [&](int b) { host.writeByte(b); },
                       [](int) {}, [](const DImageDoc&) { return 0; }};
    TtyPictures pictures(loop, *registry, [&](const std::string& s) { statuses.push_back(s); });
    auto doc = std::make_unique<DImageDoc>(hooks, clock, true, dir);
    DImageDoc* inline_ = doc.get();
    pictures.OpenDImage(std::move(doc));
    inline_->Pump();
    loop.runFor(10);
    ASSERT_EQ(statuses.size(), 2u);
    const std::string download = GetFolder(*registry, FolderKind::Download);
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(download))
        kept.push_back(entry.path());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].extension(), ".bmp");
    EXPECT_EQ(statuses[1], "그림을 받았습니다: " + kept[0].filename().string());
    std::ifstream in(kept[0], std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
              picture);
}

TEST_F(TtyPicturesTest, RefusedPictureIsReported) {
    DImageHost host("x", 1, 1, 400);
    VNImageHooks hooks{[&] { return host.readByte(); }, [&](int b) { host.writeByte(b); },
                       [](int) {}, [](const DImageDoc&) { return 0; }};
    TtyPictures pictures(loop, *registry, [&](const std::string& s) { statuses.push_back(s); });
    auto doc = std::make_unique<DImageDoc>(hooks, clock, false, dir);
    DImageDoc* inline_ = doc.get();
    pictures.OpenDImage(std::move(doc));
    inline_->Pump();
    loop.runFor(10);
    EXPECT_EQ(statuses.back(), "그림을 받지 못했습니다.");
}

}  // namespace
