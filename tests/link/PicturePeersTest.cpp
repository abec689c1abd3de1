// A picture sent by the host end to end: telnetd's test program puts the terminal into its
// picture state and runs sz on a progressive JPEG; the picture receive shows the file while it
// arrives, and the picture equals djpeg's.
#include "image/ZImageDoc.h"
#include "link/SystemLinks.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/image/PictureFiles.h"
#include "tests/link/TransferSupport.h"

namespace {

constexpr int kStartMs = 10000;
constexpr int kTransferMs = 60000;

// The picture of the received file, as the window keeps it, without the window.
class KeptPicture : public PictureShow {
public:
    KeptPicture(std::unique_ptr<ZImageDoc>& doc, int& growths) : doc_(doc), growths_(growths) {}
    void Grown(uint64_t size) override {
        doc_->SetPos(static_cast<int64_t>(size));
        ++growths_;
        doc_->DecodeAll();
    }
    void Reload() override { doc_->Reload(); }
    void Ended() override {
        doc_->End();
        doc_->DecodeAll();
    }

private:
    std::unique_ptr<ZImageDoc>& doc_;
    int& growths_;
};

class PicturePeers : public SessionTest {
protected:
    PicturePeers() : system(loop, prompt, *registry, frame) {
        hooks.bridge.SetPictureOpener([this](const std::string& path, std::function<void()>) {
            picture = std::make_unique<ZImageDoc>(path, Clock::steady());
            return std::make_unique<KeptPicture>(picture, growths);
        });
    }
    ~PicturePeers() override {
        hooks.bridge.Detach();
        doc.reset();
    }

    std::string screen() const {
        std::string text;
        for (int y = 0; y < view.Rows(); ++y)
            text += view.Text(y) + "\n";
        return text;
    }

    TelnetServer server{TelnetServer::Kind::Inetutils};
    SystemLinks system;
    BridgeHooks hooks;
    ScratchFolder folder;
    std::unique_ptr<ZImageDoc> picture;
    int growths = 0;  // notices of a new kilobyte
};

TEST_F(PicturePeers, HostPictureIsShownWhileItArrives) {
    writePpm(seededPhoto(300, 200, 9), folder.path("in.ppm"));
    ASSERT_EQ(runCommand("cd " + folder.path() +
                         " && cjpeg -progressive in.ppm > photo.jpg && djpeg photo.jpg > want.ppm"),
              0);
    start({"127.0.0.1", std::to_string(server.port())}, Clock::steady(), &system, &hooks);
    hooks.bridge.Attach({*doc, loop, prompt, *registry, sound, frame});
    ASSERT_TRUE(runUntil([&] { return screenShows("ready>"); }, kStartMs));
    doc->SendLine("zimage " + folder.path("photo.jpg"));
    ASSERT_TRUE(runUntil([&] { return screen().find("READY") != std::string::npos; }, kStartMs))
        << screen();
    doc->SendByte('g');
    ASSERT_TRUE(runUntil([&] { return hooks.bridge.Running(); }, kStartMs));
    ASSERT_TRUE(
        runUntil([&] { return !hooks.bridge.Running() && !doc->TransferActive(); }, kTransferMs));
    runUntil([&] { return picture && !picture->TransferRunning(); }, kStartMs);
    EXPECT_EQ(hooks.events, std::vector<int>{-817});
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->TransferRunning());
    EXPECT_GT(growths, 0);
    ASSERT_NE(picture->Picture(), nullptr);
    EXPECT_TRUE(picture->Picture()->pixels == readPnm(folder.path("want.ppm")).pixels);
}

}  // namespace
