#pragma once
// Kermit: sends a batch of files or receives files in short printable packets, each one
// acknowledged before the next, with the prefixing both sides agree in the Send-Init exchange.
#include <string>

#include "xfer/GFKermitCodec.h"
#include "xfer/GFProtocol.h"

class GFKermit : public GFProtocol {
public:
    GFKermit(GFComLink* link, GFMonitor* monitor);

    int SendFile(const char* files) override;
    int ReceiveFile(const char* target) override;
    int Init() override;

private:
    // What the packet reader returns besides a packet's type letter.
    enum ReadResult { kBadPacket = -1, kTimeout = -2, kStopped = -3 };
    // Send-Init parameters: what the other side asked for, and what we offer.
    struct Params {
        int maxl = 94;
        int time = 10;
        int npad = 0;
        int padc = 0;
        int eol = 13;
        int qctl = '#';
        int qbin = 'N';
        int rept = 0;
        int chkt = '1';
    };

    // Packets (GFKermit.cpp). A packet carries the block check in force, but the Send-Init and
    // its acknowledgement always carry type 1.
    std::string buildPacket(int type, int seq, const std::string& data, int check) const;
    bool sendPacket(int type, int seq, const std::string& data, int check);
    bool sendPacket(int type, int seq, const std::string& data) {
        return sendPacket(type, seq, data, check_);
    }
    bool sendAck(int seq, const std::string& data = "") { return sendPacket('Y', seq, data); }
    void sendErrorPacket();
    int readPacket();
    int readPacketBody();
    int seq() const { return monitor_->GetBlockNumber() % 64; }
    void nextPacket() { monitor_->SetBlockNumber(monitor_->GetBlockNumber() + 1); }
    // Counts a retry of the current packet; false (with -908) once it has had ten.
    bool retry();
    void fail(int code, const char* text);
    // Sends the error packet when the transfer failed, then cleans up.
    void finish();

    // Send-Init (GFKermit.cpp): our parameters, and taking the other side's from the packet
    // just received.
    std::string initData();
    void readParams(bool receiving);
    void reportParams();
    // The block check both sides agreed on: 3 when both asked for it, else 1.
    int agreedCheck() const { return theirs_.chkt == '3' && ourChkt_ == '3' ? 3 : 1; }

    // Receiving (GFKermitReceiver.cpp).
    void runReceiver();
    // A damaged packet, a time-out, an error packet or a packet of the wrong type; true when
    // the receiver goes on waiting (after a NAK).
    bool otherPacket(int type, const char* timeoutText);
    // Acknowledges the packet just received and moves on to the next.
    bool acceptPacket(const std::string& ackData = std::string());
    bool answerDuplicate(const char* text);
    bool receiveInit();
    bool receiveFileHeader();
    bool openReceivedFile();
    bool receiveFileData();
    bool writeData();
    void readAttributes();
    void readDateAttribute(const std::string& value);
    void endReceivedFile();

    // Sending (GFKermitSender.cpp).
    void runSender();
    void sendFiles();
    bool sendOneFile();
    // The most data characters a packet to the other side may carry.
    int dataCapacity() const;
    bool fillData(std::string& data);
    bool exchange(int type, const std::string& data);

    Params theirs_;
    int ourQbin_ = 'Y';
    int ourRept_ = 0;
    // The block check we ask for, and the one in force after the Send-Init exchange.
    int ourChkt_ = '3';
    int check_ = 1;
    // Prefixes for the data we send and for the data we receive.
    gfkermit::Prefixes out_;
    gfkermit::Prefixes in_;
    // The received packet: its SEQ and data length (the data is in the work buffer).
    int rxSeq_ = 0;
    int rxLength_ = 0;
    // File bytes read ahead by the sender and not yet encoded.
    std::string ahead_;
    size_t aheadPos_ = 0;
    // The data of the packet just received, decoded.
    std::string decoded_;
    // Set when the sender gave up on a file during this transfer.
    bool discarded_ = false;
};
