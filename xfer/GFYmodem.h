#pragma once
// YMODEM: a batch of files, each announced by a header block (block 0: name, length and
// modification time) and then sent as one XMODEM file; an empty header block ends the batch.
#include "xfer/GFXmodem.h"

class GFYmodem : public GFXmodem {
public:
    GFYmodem(GFComLink* link, GFMonitor* monitor) : GFXmodem(link, monitor, GF_TYPE_YMODEM) {}

    int SendFile(const char* files) override;
    // Names come from the sender; the argument is not used.
    int ReceiveFile(const char* target) override;

private:
    void sendBatch();
    bool sendHeaderBlock();
    void receiveBatch();
    // Reads the next header block; false at the end of the batch or on a failure.
    bool receiveHeaderBlock();
    bool acceptHeaderBlock();
};
