#pragma once
// ZMODEM: sends or receives a batch of files with framed headers, streamed data subpackets,
// repositioning on errors, resumption of partial files and a closing handshake.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "xfer/GFProtocol.h"

class GFZmodem : public GFProtocol {
public:
    GFZmodem(GFComLink* link, GFMonitor* monitor);

    int SendFile(const char* files) override;
    int ReceiveFile(const char* target) override;

protected:
    // Opens the current file (sending: the file list's; receiving: the monitor's path, resuming
    // a partial file). False when the transfer must stop.
    virtual int OpenTransferFile();
    // A partial file is resumed by the next transfer.
    bool keepsPartialFiles() const override { return true; }

    using Header = std::array<uint8_t, 4>;
    // Thrown by the byte reader when an abort check fires; caught at the top of a transfer.
    struct UserCancel {};

    // Byte level (ZmodemWire.cpp). The first two are the hot path: a byte that is waiting and
    // needs no special handling returns at once. An empty buffer is refilled by way of the
    // link's wait, which returns at once when the link holds bytes: a receiver that keeps up
    // with its sender then makes no empty read before each wait.
    int readByte(int seconds) {
        if (inHead_ < inTail_) return input_[inHead_++];
        return waitForByte(seconds);
    }
    // Refills the input buffer from the link; the first byte, or -802.
    int takeInput();
    // Received bytes not yet read, here and in the link.
    int inputWaiting() { return static_cast<int>(inTail_ - inHead_) + link_->InputCount(); }
    void purgeInput();
    int readEscaped(int seconds) {
        const int c = readByte(seconds);
        if (c >= 0 && ((c & 0x60) || (!escapeControls_ && !isZmodemControl(c)))) return c;
        return readSpecial(c, seconds);
    }
    // ZDLE and the flow-control bytes, which never stand for themselves in escaped data.
    static bool isZmodemControl(int c) {
        return c == 24 || c == 17 || c == 19 || c == (17 | 0x80) || c == (19 | 0x80);
    }
    int waitForByte(int seconds);
    int readSpecial(int c, int seconds);
    int readQuietByte(int seconds);
    int read7(int seconds);
    template <class Check>
    int readSubpacketData(Check& check, int seconds);
    int ReadFrameHeader(bool padSeen = false);
    int readHexHeader(Header& hdr, int seconds);
    int readBinaryHeader(Header& hdr, bool crc32, int seconds);
    // A data subpacket; seconds is the longest pause between its bytes.
    int ReadBinaryPacket(int seconds = kReadSeconds);
    int SendHexHeader(int type, const Header& hdr);
    int SendBinaryHeader(int type, const Header& hdr);
    int SendDataPacket(const uint8_t* data, int length, int end);
    void encodeEscaped(uint8_t b, std::vector<uint8_t>& out) const;
    static Header positionHeader(uint32_t pos);
    uint32_t rxPos() const;
    void countHeaderError(int code);

    // Receiving (ZmodemReceiver.cpp).
    void runReceiver();
    int GetFileName();
    bool receiveOfferedFile();
    bool enoughDiskSpace(unsigned long length);
    bool ReadFileData();
    int readFileSubpackets();
    bool countDataError();
    int sendZrpos();
    void endHandshake();
    int sendReceiverInit();

    // Sending (ZmodemSender.cpp).
    void runSender();
    bool OpenLink();
    bool openLinkHeaders();
    void sendOneFile();
    bool offerFile(const std::string& info);
    bool SendFileData();
    int streamFrame();
    int streamAnswer();
    int nextSubpacket(int& offset, bool& eofHere);
    long readFileIntoRing(int offset, int count);
    int subpacketEnd(int length, bool eofHere);
    int sendEndOfFile();
    int actOnAnswer(int answer);
    int failFile(int answer);
    int GetInSync(bool acceptAnyAck, bool padSeen);
    int handleZrpos();
    bool restartAt(long p);
    int goBackToAcknowledged(const char* why);
    void growBlockLength();
    bool Reposition(long p);
    uint32_t fileCrc(uint32_t count);
    void CloseLink();

    // Escaping and framing state, both ways.
    bool escapeControls_ = false;
    bool crc32Headers_ = false;
    bool crc32Data_ = false;
    bool crc32Frame_ = false;
    // Set while one side waits for the other's answer to a request of its own: the receiver for
    // a frame at its position once the file's data has begun, the sender for the ZACK of a
    // ZCRCW or of a full window. What comes before the answer is stale data, not errors, and a
    // line quiet for a second means that the request or the answer was lost.
    bool awaitingAnswer_ = false;
    Header rxHeader_{};
    std::vector<uint8_t> encoded_;  // the subpacket being sent, escaped
    // Bytes taken from the link in bulk and not read yet.
    std::vector<uint8_t> input_ = std::vector<uint8_t>(16384);
    size_t inHead_ = 0;
    size_t inTail_ = 0;

    // The sender's state (ZmodemSender.cpp).
    struct SenderState {
        bool seekable = false;
        bool eofSeen = false;
        bool eofInSubpacket = false;
        // The receiver's buffer length from its ZRINIT (0: no limit), and what is left of it
        // in the current frame.
        int rxBufferLength = 0;
        long rxBufferLeft = 0;
        int blockLength = 1024;
        int windowSize = 0;
        int zcrcqSpacing = 0;
        int sinceZcrcq = 0;
        // Our position, the receiver's last acknowledged one, the last ZRPOS and how often it
        // came, and how far the data has gone.
        long pos = 0;
        long lastAckPos = 0;
        long lastZrposPos = 0;
        int zrposRepeats = 0;
        long sentUpTo = 0;
        // File data read ahead into the ring, up to readAheadEnd.
        std::vector<uint8_t> ring;
        long readAheadEnd = 0;
        int junk = 0;
        long growAt = 0;  // the acknowledged position at which a halved block length doubles
    };
    SenderState tx_;

    // The receiver's state (ZmodemReceiver.cpp): the next file request is a ZSKIP.
    struct ReceiverState {
        bool skipNext = false;
    };
    ReceiverState rx_;

    static constexpr int kRingSize = 32768;
    static constexpr int kGarbageLimit = 38400 + 1400;
    static constexpr int kReadSeconds = 60;
    static constexpr long kCleanSubpacketsToGrow = 32;
    // Bytes the sender may run ahead of the last ZACK of a full-duplex receiver.
    static constexpr int kWindowSize = 32768;
    // How long stale data may go on after a ZRPOS before the ZRPOS is taken as lost.
    static constexpr int kStaleSeconds = 10;
    // A pause that ends the wait for an answer: the other side is waiting for us.
    static constexpr int kQuietSeconds = 1;
};
