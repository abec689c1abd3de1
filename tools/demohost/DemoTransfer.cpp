#include "tools/demohost/DemoTransfer.h"

#include <memory>

#include "link/TransferNames.h"
#include "platform/Clock.h"
#include "tools/demohost/DemoHostState.h"
#include "xfer/GFErrors.h"
#include "xfer/GFMonitor.h"
#include "xfer/GFTransfer.h"

namespace {

constexpr int64_t kStallMs = 60000;

// Watches a transfer for the reasons to stop it, and names received files in the upload
// folder.
class DemoMonitor : public GFMonitor {
public:
    DemoMonitor(GFComLink& link, DemoHostState& host) : link_(link), host_(host) {}

    int TransferAbort() override {
        if (host_.stopping || !link_.IsOnline()) return GF_USER_ABORT;
        if (clock_.nowMs() - progressMs_ > kStallMs) return GF_NO_ANSWER;
        if (GetSending()) return 0;
        const int64_t received = static_cast<int64_t>(GetPos());
        if (received > kUploadFileLimit || counted_ + received > kUploadRunLimit)
            return GF_USER_ABORT;
        return 0;
    }
    void SetPos(unsigned long pos) override {
        if (pos != GetPos()) progressMs_ = clock_.nowMs();
        GFMonitor::SetPos(pos);
    }
    void SetFileName(const char* name) override {
        if (GetSending() || !name) return GFMonitor::SetFileName(name);
        const std::string local = localFileName(name);
        GFMonitor::SetFileName((host_.uploadFolder + "/" + (local.empty() ? "_" : local)).c_str());
    }
    void SetFileLength(unsigned long n) override {
        GFMonitor::SetFileLength(n);
        if (!GetSending()) counted_ = host_.uploadedBytes;
    }
    void OnCloseFile(int skipped) override {
        if (!GetSending() && !skipped) host_.uploadedBytes += static_cast<int64_t>(GetPos());
    }
    std::string AnnouncedName(const std::string& path) override { return hostFileName(path); }

private:
    GFComLink& link_;
    DemoHostState& host_;
    Clock& clock_ = Clock::steady();
    int64_t progressMs_ = clock_.nowMs();
    int64_t counted_ = 0;
};

int runEngine(GFComLink& link, DemoHostState& host, const std::string* sendPath) {
    DemoMonitor monitor(link, host);
    std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject("ZMODEM", &link, &monitor));
    if (!sendPath) return engine->ReceiveFile(host.uploadFolder.c_str());
    engine->SetSendList({*sendPath});
    return engine->SendFile(sendPath->c_str());
}

}  // namespace

int SendDemoFile(GFComLink& link, DemoHostState& host, const std::string& path) {
    return runEngine(link, host, &path);
}

int ReceiveDemoFiles(GFComLink& link, DemoHostState& host) {
    return runEngine(link, host, nullptr);
}
