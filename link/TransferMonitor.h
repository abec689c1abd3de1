#pragma once
// The session's monitor of a running transfer. It places received files (the download folder,
// names converted from CP949; a path the user chose stays), announces sent names in CP949,
// starts a media file's player while it still arrives, keeps the figures a progress display
// reads, and stops the engine once aborted. Engine calls come from the worker thread; the
// snapshot, Abort and Aborted may be used from any thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "link/TransferPicture.h"
#include "link/TransferProgress.h"
#include "xfer/GFErrors.h"
#include "xfer/GFMonitor.h"

// A file the engine closed, complete or not.
struct ClosedFile {
    std::string path;
    bool sending = false;
    uint64_t size = 0;         // the file's length as announced, 0 when unknown
    uint64_t transferred = 0;  // how far the transfer got
    long fileTime = -1;        // the sender's time for it, -1 when none came
};

struct TransferMonitorSetup {
    bool sending = false;
    std::string downloadFolder;  // where received files go (UTF-8)
    bool playMedia = true;       // `Comm` "ZmodemRealAudio"
    // Opens a media file with its player; called once per file from the worker thread.
    std::function<void(const std::string& path)> openMedia;
    // Called from the worker thread for each file closed.
    std::function<void(const ClosedFile& file)> fileClosed;
    // The picture of a received ".jpg" (or of every file of a picture receive) while it
    // arrives; null: none is shown.
    std::shared_ptr<PostedPicture> picture;
    bool imageTransfer = false;  // the host's picture receive
};

class TransferMonitor : public GFMonitor {
public:
    static constexpr int kAbortCode = GF_USER_ABORT;
    static constexpr unsigned long kLargeMediaStart = 11264;  // ".ra", ".mp3"
    static constexpr unsigned long kSmallMediaStart = 8192;   // ".vmi"

    explicit TransferMonitor(TransferMonitorSetup setup);

    void Abort() { aborted_ = true; }
    bool Aborted() const { return aborted_; }
    TransferSnapshot Snapshot() const;

    int UserMonitor(int lastError) override;
    void TransferMessage(char* /*text*/) override {}
    int TransferAbort() override { return aborted_ ? kAbortCode : 0; }
    void SetPos(unsigned long pos) override;
    void SetTransferType(int type) override;
    void SetFileLength(unsigned long n) override;
    void SetFileName(const char* name) override;
    void OnRecovery() override;
    void SetTotalInfo(int files, unsigned long bytes) override;
    void NextFile() override;
    void WriteBlock(unsigned char* /*data*/, int /*n*/) override {}
    void OnCloseFile(int skipped) override;
    void PostOpen() override;
    std::string AnnouncedName(const std::string& path) override;

private:
    std::string placedPath(const char* name) const;
    void startMedia();

    TransferMonitorSetup setup_;
    std::atomic<bool> aborted_{false};
    unsigned long mediaStart_ = 0;  // 0: not a media file, or its player was started
    bool imageInProgress_ = false;  // the file is shown while it arrives
    mutable std::mutex lock_;
    TransferSnapshot snapshot_;
};
