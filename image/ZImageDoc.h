#pragma once
// A picture file that a ZMODEM picture receive is writing: told how far the file has grown, the
// document feeds the new whole kilobytes to its decoder; at the end, the whole rest. The
// transfer thread never calls it directly: the host posts each notice to the user-interface
// thread.
#include <functional>
#include <string>

#include "image/ImageDoc.h"

class ZImageDoc : public ImageDoc {
public:
    static constexpr int64_t kGrowthUnit = 1024;

    ZImageDoc(const std::string& path, Clock& clock);
    ~ZImageDoc() override;

    // The file has grown to size bytes.
    void SetPos(int64_t size);
    // The file is being received again from its start.
    void Reload();
    // The transfer ended: the rest of the file is fed and decoding stops.
    void End();

    bool TransferRunning() const override { return !ended_; }
    // Asks the transfer to stop (the monitor's abort flag).
    void SetCancelHandler(std::function<void()> cancel) { cancel_ = std::move(cancel); }
    void CancelTransfer() override;

private:
    void feedUpTo(int64_t end);

    int fd_ = -1;
    int64_t fed_ = 0;
    bool ended_ = false;
    std::function<void()> cancel_;
};

// A picture file opened as a whole: the window is titled by its file name.
class ZFileDoc : public ImageDoc {
public:
    ZFileDoc(const std::string& path, Clock& clock);
    // False when the file could not be read.
    bool Opened() const { return opened_; }

private:
    bool opened_ = false;
};
