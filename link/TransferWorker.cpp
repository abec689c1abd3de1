#include "link/TransferWorker.h"

TransferWorker::TransferWorker(std::unique_ptr<GFTransfer> engine,
                               std::shared_ptr<TransferMonitor> monitor, Run run,
                               std::function<void(int result)> ended)
    : monitor_(std::move(monitor)) {
    thread_ = std::thread([this, engine = std::move(engine), run = std::move(run),
                           ended = std::move(ended)]() mutable {
        const int result = run(*engine);
        engine.reset();
        finished_ = true;
        ended(result);
    });
}

TransferWorker::~TransferWorker() {
    monitor_->Abort();
    if (thread_.joinable()) thread_.join();
}
