#pragma once
// XMODEM: sends or receives one file in numbered blocks of 128 or 1024 bytes with an 8-bit sum
// or a CRC-16, each block acknowledged, or streamed unacknowledged for the "G" type. The
// monitor's transfer type (0 to 4) chooses the variant at every step.
#include <cstdint>
#include <vector>

#include "xfer/GFProtocol.h"

class GFXmodem : public GFProtocol {
public:
    GFXmodem(GFComLink* link, GFMonitor* monitor) : GFXmodem(link, monitor, GF_TYPE_XMODEM) {}

    int SendFile(const char* files) override;
    // path: where the file goes, given to the monitor's SetFileName.
    int ReceiveFile(const char* path) override;
    int Init() override;

protected:
    GFXmodem(GFComLink* link, GFMonitor* monitor, int type);

    enum BlockResult { kGoodBlock, kEndOfFile, kStopped };
    // The bytes of the protocol.
    enum : int { kSoh = 1, kStx = 2, kEot = 4, kAck = 6, kNak = 21, kCan = 24 };

    int type() const { return monitor_->GetTransferType(); }
    // The "G" types: the receiver acknowledges no data block and any error ends the transfer.
    bool streaming() const { return type() == GF_TYPE_XMODEM_1KG || type() == GF_TYPE_YMODEM_G; }
    // The YMODEM types, whose files carry their length.
    bool lengthKnown() const { return type() == GF_TYPE_YMODEM || type() == GF_TYPE_YMODEM_G; }

    // A byte, waiting up to timeoutMs in one-second steps with an abort check after each empty
    // one; -802 when the time ran out, and the recorded error when a check fired.
    int readAnswer(int timeoutMs);
    // Drops what was received and what follows until the line has been quiet for a second.
    void purge();
    // The sum or the CRC-16 of a block's data, as the current check mode wants it.
    unsigned blockCheck(const uint8_t* data, int n) const;

    // Receiving (GFXmodemReceive.cpp). The current file goes to the monitor's file name.
    bool ReceiveBody();
    // Reads blocks until a good one (in the work buffer, its length the monitor's block size),
    // the end of the file, or a failure.
    BlockResult ReceiveBlock();
    // "C", "G" or NAK, whichever asks for the next block.
    bool SendStartByte();
    bool sendReply(int c);
    int waitForHeader();
    bool readBlockBody(int header);
    bool readBytes(uint8_t* data, int n, int timeoutMs);
    // A damaged block: waits for the line to go quiet, then asks for the block again.
    void rejectBlock();
    // Counts an error of the receiver; false when it ends the transfer. beforeStream: silence
    // before the sender started, which even a streaming transfer survives.
    bool countError(bool beforeStream = false);
    bool storeBlock();

    // Sending (GFXmodemSend.cpp). The current file is the file list's.
    bool SendBody(bool emptyFileAllowed);
    bool WaitForStart();
    void ReadNextBlock();
    // Sends the work buffer as the block numbered by the monitor's packet number.
    bool SendBlock();
    // True when the other side acknowledged; a streamed data block counts as acknowledged
    // while nothing comes back.
    bool WaitForAck(bool streamedBlock);

    int crcMode_ = 1;
    int lastHeaderByte_ = -1;
    std::vector<uint8_t> frame_;

    static constexpr int kAnswerTimeoutMs = 10000;
};
