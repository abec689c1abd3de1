// The demo host's picture page through the session: the picture arrives inline, answered packet
// by packet, and then again by the host's picture transfer; both show the same picture.
#include "image/ZImageDoc.h"
#include "link/SessionPictures.h"
#include "link/SystemLinks.h"
#include "tests/link/TransferSupport.h"
#include "tests/tools/DemoHostProcess.h"

namespace {

class KeptPictures : public PictureFront {
public:
    void OpenDImage(std::unique_ptr<DImageDoc> doc) override { docs.push_back(std::move(doc)); }
    std::vector<std::unique_ptr<DImageDoc>> docs;
};

class KeptFile : public PictureShow {
public:
    explicit KeptFile(ZImageDoc& doc) : doc_(doc) {}
    void Grown(uint64_t size) override { doc_.SetPos(static_cast<int64_t>(size)); }
    void Reload() override { doc_.Reload(); }
    void Ended() override { doc_.End(); }

private:
    ZImageDoc& doc_;
};

class PictureSession : public BridgeHooks {
public:
    void OnImageStart() override { pictures.OnImageStart(); }
    void OnImageEnd() override { pictures.OnImageEnd(); }
    SessionPictures pictures;
};

class DemoImage : public SessionTest {
protected:
    DemoImage()
        : system(loop, prompt, *registry, frame),
          folder(dir + "/host"),
          host((std::filesystem::create_directories(folder), folder)) {
        hooks.bridge.SetPictureOpener([this](const std::string& path, std::function<void()>) {
            received = std::make_unique<ZImageDoc>(path, Clock::steady());
            return std::make_unique<KeptFile>(*received);
        });
    }
    ~DemoImage() override {
        hooks.pictures.Detach();
        hooks.bridge.Detach();
        doc.reset();
    }
    std::string screen() const {
        std::string all;
        for (int y = 0; y < view.Rows(); ++y)
            all += view.Text(y) + "\n";
        return all;
    }
    bool shows(const std::string& text) { return screen().find(text) != std::string::npos; }

    SystemLinks system;
    std::string folder;
    DemoHostProcess host;
    PictureSession hooks;
    KeptPictures front;
    std::unique_ptr<ZImageDoc> received;
};

TEST_F(DemoImage, PictureArrivesInlineAndByTransfer) {
    start({"127.0.0.1", std::to_string(host.port())}, Clock::steady(), &system, &hooks);
    hooks.bridge.Attach({*doc, loop, prompt, *registry, sound, frame});
    hooks.pictures.Attach(*doc, loop, *registry, prompt, front);
    ASSERT_TRUE(runUntil([&] { return shows("login:"); }, 10000));
    doc->SendLine("tester");
    ASSERT_TRUE(runUntil([&] { return shows("Password:"); }, 10000));
    doc->SendLine("pw");
    ASSERT_TRUE(runUntil([&] { return shows(">>"); }, 10000));
    doc->SendLine("go image");
    ASSERT_TRUE(runUntil([&] { return received && !received->TransferRunning(); }, 30000))
        << screen() << " pictures " << front.docs.size() << " state "
        << (front.docs.empty() ? 0 : front.docs[0]->State()) << " busy " << doc->LinkBusy();
    ASSERT_EQ(front.docs.size(), 1u);
    DImageDoc& inlined = *front.docs[0];
    inlined.DecodeAll();
    received->DecodeAll();
    EXPECT_EQ(inlined.StateHistory(), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(inlined.WindowX(), 16);
    EXPECT_EQ(inlined.WindowY(), 48);
    ASSERT_NE(inlined.Picture(), nullptr);
    ASSERT_NE(received->Picture(), nullptr);
    EXPECT_EQ(inlined.Picture()->width, 160);
    EXPECT_EQ(inlined.Feed()->RowsDecoded(), 120);
    EXPECT_TRUE(inlined.Picture()->pixels == received->Picture()->pixels);
}

}  // namespace
