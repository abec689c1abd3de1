#pragma once
// What every protocol engine shares: the link and monitor, the open file, timed byte I/O, abort
// checks, the abort string and the clean-up at the end of a transfer.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "xfer/GFErrors.h"
#include "xfer/GFFileList.h"
#include "xfer/GFTransfer.h"

class GFProtocol : public GFTransfer {
public:
    // Puts the link into transfer mode; a null monitor is replaced by an owned plain one.
    GFProtocol(GFComLink* link, GFMonitor* monitor, int type, int check, int bufferSize);
    ~GFProtocol() override;
    GFProtocol(const GFProtocol&) = delete;
    GFProtocol& operator=(const GFProtocol&) = delete;

    // Checks the work buffer and resets per-transfer state; false when the engine cannot run.
    virtual int Init();

    GFMonitor* Monitor() const { return monitor_; }

protected:
    enum AbortVariant { kAbortCheck1 = 1, kAbortCheck2 = 2 };

    int lastError() const { return monitor_->GetLastError(); }
    // Records code unless an earlier failure is already recorded (the first cause wins).
    int setError(int code);
    // Counts an error of the current block or packet: true while fewer than limit have come in
    // a row, else the failure code is recorded and the caller gives up.
    bool countBlockError(int code = GF_TOO_MANY_ERRORS, int limit = 10);
    bool carrierLost() { return carrierCheck_ && !link_->IsOnline(); }
    // A diagnostic line for the monitor, cut to 83 characters.
    void message(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // A byte within timeoutMs, or -802.
    int ReadChar(int timeoutMs);
    // The same for a byte that should follow at once (the rest of a packet): it is taken
    // straight from the link, which holds it as a rule, and waited for only when not.
    int readFollowing(int timeoutMs) {
        const int c = link_->ReadByte();
        return c >= 0 ? c : ReadChar(timeoutMs);
    }
    // Waits until the link's output queue is empty; bounded waits give up after 1.5 s, the
    // others when an abort check fires.
    bool WaitDrain(bool bounded);
    int WriteChar(int c);
    int WriteBuffer(const unsigned char* data, int n);
    // Writes an encoded block: as much as the link's Write takes, the rest byte by byte with
    // WriteChar's retries. 0 or the recorded error.
    int writeBlock(const unsigned char* data, int n);
    bool WriteString(const char* text);
    void SendAbort();
    void Cleanup();
    // True when the transfer must stop: an earlier failure, the user's abort or a lost carrier
    // (the last two are recorded).
    bool AbortCheck(int variant);

    // The file list for SendFile: the paths given by SetSendList, else those of files.
    void buildFileList(const char* files);
    // Opens the current file: the file list's next path when sending, the monitor's file name
    // when receiving. False when the transfer must stop.
    bool OpenFile();
    void CloseFile(int skipped);
    // Writes a received block; the count written, 0 on a file error. Without an open file the
    // block is dropped.
    int WriteReceivedBlock(const unsigned char* data, int n);
    // Records and reports a file that failed to open.
    void openFailed(const std::string& path, bool forWriting);
    // Opens path_ with the given fopen mode; reports a failure.
    bool openStream(const char* mode, bool forWriting);
    // Whether a received file that did not arrive whole stays on disk when it is closed (to
    // be resumed, or as what was captured); otherwise it is removed, so that no partial file
    // is left under the name of a whole one.
    virtual bool keepsPartialFiles() const { return false; }
    // The steps after a successful open; false when an abort check fires.
    bool fileOpened();

    bool batch_ = true;
    bool carrierCheck_ = true;
    bool ownsMonitor_ = false;
    bool textConversion_ = false;
    bool fileComplete_ = false;
    // The link's answer when it was put into transfer mode: 1 asks to escape every control byte.
    int transferModeAnswer_ = 0;
    GFComLink* link_;
    GFMonitor* monitor_;
    std::unique_ptr<GFFileList> fileList_;
    std::vector<unsigned char> buffer_;
    FILE* file_ = nullptr;
    std::string path_;
    bool cleanupDone_ = false;

private:
    int writeCharRefused(int c, int result);
};
