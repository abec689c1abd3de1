#pragma once
// A file transfer that runs on a worker thread over the session's link, as the session sees it:
// it can be asked to stop and says when its thread has ended. Destroying it joins the thread.
class TransferJob {
public:
    virtual ~TransferJob() = default;
    // Asks the engine to stop at its next check; the partial file stays.
    virtual void Cancel() = 0;
    // True once the worker thread has ended.
    virtual bool Finished() = 0;
};
