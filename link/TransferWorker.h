#pragma once
// A transfer engine running on its own thread with the session's monitor. The engine is
// destroyed on that thread when it returns (which takes the link out of transfer mode), then
// `ended` is called there with the engine's result. Cancel aborts through the monitor.
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "link/TransferJob.h"
#include "link/TransferMonitor.h"
#include "xfer/GFTransfer.h"

class TransferWorker : public TransferJob {
public:
    using Run = std::function<int(GFTransfer& engine)>;
    TransferWorker(std::unique_ptr<GFTransfer> engine, std::shared_ptr<TransferMonitor> monitor,
                   Run run, std::function<void(int result)> ended);
    ~TransferWorker() override;

    void Cancel() override { monitor_->Abort(); }
    bool Finished() override { return finished_; }

private:
    std::shared_ptr<TransferMonitor> monitor_;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};
