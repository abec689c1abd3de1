// The picture part of the transfer monitor: which received files are shown while they arrive,
// and the notices the picture gets on the user-interface thread (whole kilobytes, a reload, the
// end), never waited for by the transfer thread.
#include <gtest/gtest.h>

#include "link/TransferMonitor.h"
#include "platform/PollEventLoop.h"

namespace {

struct Notices {
    std::vector<std::string> log;
};

class LoggedShow : public PictureShow {
public:
    explicit LoggedShow(Notices& n) : n_(n) {}
    void Grown(uint64_t size) override { n_.log.push_back("grown " + std::to_string(size)); }
    void Reload() override { n_.log.push_back("reload"); }
    void Ended() override { n_.log.push_back("ended"); }

private:
    Notices& n_;
};

struct Case {
    const char* name;
    bool sending;
    bool imageTransfer;
    bool shown;
};

TEST(TransferPicture, ReceivedJpegsAndHostPicturesAreShown) {
    const Case cases[] = {{"photo.jpg", false, false, true},
                          {"PHOTO.JPG", false, false, true},
                          {"notes.txt", false, false, false},
                          {"photo.jpg", true, false, false},
                          {"anything.bin", false, true, true}};
    for (const Case& c : cases) {
        PollEventLoop loop;
        Notices notices;
        int cancels = 0;
        auto opener = [&](const std::string& path, std::function<void()> cancel) {
            notices.log.push_back("open " + path);
            cancel();
            return std::make_unique<LoggedShow>(notices);
        };
        TransferMonitorSetup setup;
        setup.sending = c.sending;
        setup.downloadFolder = "/down";
        setup.imageTransfer = c.imageTransfer;
        setup.picture = std::make_shared<PostedPicture>(loop, opener, [&] { ++cancels; });
        TransferMonitor monitor(setup);
        monitor.SetTransferType(7);
        monitor.SetFileName(c.name);
        for (unsigned long pos = 0; pos <= 3000; pos += 512)
            monitor.SetPos(pos);
        monitor.PostOpen();
        monitor.SetPos(1500);
        monitor.OnCloseFile(0);
        loop.runFor(20);
        const std::vector<std::string> want =
            c.shown ? std::vector<std::string>{std::string("open /down/") + c.name,
                                               "grown 1024",
                                               "grown 2048",
                                               "reload",
                                               "grown 1500",
                                               "ended"}
                    : std::vector<std::string>{};
        EXPECT_EQ(notices.log, want) << c.name;
        EXPECT_EQ(cancels, c.shown ? 1 : 0) << c.name;
    }
}

}  // namespace
