// Our XMODEM and YMODEM engines against scripted peers: repeated blocks and EOTs, header
// blocks with hostile or unterminated names, the user's abort, the block sizes a sender
// chooses and the sender's error codes.
#include <gtest/gtest.h>
#include <deque>
#include <memory>

#include "link/MemoryLink.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFCrc.h"
#include "xfer/GFErrors.h"
#include "xfer/GFTransfer.h"

namespace {

using xfertest::readFile;
using xfertest::writeFile;

const std::string kAck = "\x06", kNak = "\x15", kEot = "\x04";
const std::string kAbort = std::string(10, '\x18') + std::string(10, '\x08');

// A peer that answers: every reply byte or block the engine writes lets the next chunk of the
// script arrive. A sender hears the first chunk when it first listens.
class AnsweringLink : public MemoryLink {
public:
    explicit AnsweringLink(std::deque<std::string> chunks) : chunks_(std::move(chunks)) {}
    int WaitReady(int event, int block) override {
        if (event == 1 && !spoken_ && InputCount() == 0) answer();
        return MemoryLink::WaitReady(event, block);
    }
    int WriteByte(int c) override {
        MemoryLink::WriteByte(c);
        if (depth_ == 0) answer();
        return 0;
    }
    void BeginHold() override {
        ++depth_;
        MemoryLink::BeginHold();
    }
    void EndHold() override {
        MemoryLink::EndHold();
        if (--depth_ == 0) answer();
    }

private:
    void answer() {
        spoken_ = true;
        if (chunks_.empty()) return;
        Feed(chunks_.front());
        chunks_.pop_front();
    }
    std::deque<std::string> chunks_;
    int depth_ = 0;
    bool spoken_ = false;
};

// The bytes of a literal, 0 bytes included.
template <size_t N>
std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// A CRC block with number n: SOH for up to 128 bytes, else STX; padded with 0x1A.
std::string block(int n, std::string data) {
    data.resize(data.size() <= 128 ? 128 : 1024, '\x1A');
    const uint16_t crc = gfCrc16(0, reinterpret_cast<const uint8_t*>(data.data()), data.size());
    return std::string{data.size() == 128 ? '\x01' : '\x02', static_cast<char>(n),
                       static_cast<char>(255 - n)} +
           data + static_cast<char>(crc >> 8) + static_cast<char>(crc & 0xFF);
}

std::string headerBlock(const std::string& text) {
    return block(0, text + std::string(128 - text.size(), '\0'));
}

class XyScript : public ::testing::Test {
protected:
    int run(const char* protocol, bool send, std::deque<std::string> chunks, int type = -1,
            const std::string& argument = "") {
        link = std::make_unique<AnsweringLink>(std::move(chunks));
        std::unique_ptr<GFTransfer> engine(
            GFTransfer::CreateObject(protocol, link.get(), &monitor));
        engine->SetClock(clock);
        if (type >= 0) monitor.SetTransferType(type);
        return send ? engine->SendFile(argument.c_str()) : engine->ReceiveFile(argument.c_str());
    }
    std::string out() const { return link->Output(); }

    xfertest::TempFolder dir;
    FakeClock clock;
    RecordingMonitor monitor{dir.path()};
    std::unique_ptr<AnsweringLink> link;
};

// A block repeated because our ACK was lost is acknowledged again and written once. Repeats
// are no errors: more of them than the error limit do not end the transfer.
TEST_F(XyScript, RepeatedBlockIsAcknowledgedAndWrittenOnce) {
    std::deque<std::string> chunks(12, block(1, "one"));
    chunks.insert(chunks.end(), {block(2, "two"), kEot});
    EXPECT_EQ(run("XMODEM", false, chunks, -1, "f"), 0);
    EXPECT_EQ(out(), "C" + std::string(14, kAck[0]));
    EXPECT_EQ(readFile(dir / "f"), block(1, "one").substr(3, 128) + block(2, "two").substr(3, 128));
    EXPECT_TRUE(monitor.saw("msg Duplicate block 1"));
    EXPECT_EQ(monitor.GetErrors(), 0);
}

// The user's abort after some data: ten CAN and ten backspaces go out, and the part of the
// file that came is removed rather than left under the file's name.
TEST_F(XyScript, UserAbortSendsTheAbortString) {
    monitor.abortAfter(128);
    EXPECT_EQ(run("XMODEM", false, {block(1, "a"), block(2, "b")}, -1, "f"), GF_USER_ABORT);
    EXPECT_EQ(out(), "C" + kAck + kAbort);
    EXPECT_FALSE(xfertest::exists(dir / "f"));
}

// After the first file our ACK of its EOT is lost and the sender repeats the EOT: it is
// answered again and the batch goes on.
TEST_F(XyScript, RepeatedEotBeforeTheNextHeaderIsAnswered) {
    EXPECT_EQ(run("YMODEM", false,
                  {headerBlock(bytes("a\0"
                                     "3 0 0")),
                   "", block(1, "abc"), kEot, "", kEot, "", headerBlock("")}),
              0);
    EXPECT_EQ(readFile(dir / "a"), "abc");
    EXPECT_TRUE(monitor.saw("msg Repeated end of file"));
}

// Names are cut to their last part and stripped of control bytes, as for ZMODEM; the bytes
// before the first 0 are the name, the rest is the length and time.
TEST_F(XyScript, HeaderNamesAreSanitised) {
    EXPECT_EQ(run("YMODEM", false,
                  {headerBlock(bytes("../../x/b\\c:\x01"
                                     "d\0"
                                     "2 17 0")),
                   "", block(1, "hi"), kEot, headerBlock("")}),
              0);
    EXPECT_EQ(readFile(dir / "d"), "hi");
    EXPECT_EQ(monitor.GetFileTime(), 017);
}

TEST_F(XyScript, HeaderNamesThatCannotBeUsedAreRefused) {
    EXPECT_EQ(run("YMODEM", false,
                  {headerBlock(bytes("..\0"
                                     "1 0"))}),
              GF_OPEN_FAILED);
    EXPECT_EQ(out(), "C" + kAbort);
    EXPECT_EQ(run("YMODEM", false, {block(0, std::string(128, 'n'))}), GF_OPEN_FAILED);
    EXPECT_EQ(out(), "C" + kAbort);
}

// A name too long for 128 bytes comes in a 1024-byte block 0; the name still ends at the first 0.
TEST_F(XyScript, LongHeaderComesInAOneKBlock) {
    const std::string name(200, 'L');
    const std::string header = name + std::string(1, '\0') + "2 0";
    EXPECT_EQ(run("YMODEM", false,
                  {block(0, header + std::string(1024 - header.size(), '\0')), "", block(1, "hi"),
                   kEot, headerBlock("")}),
              0);
    EXPECT_EQ(readFile(dir / name), "hi");
    EXPECT_EQ(run("YMODEM", false, {block(0, std::string(1024, 'n'))}), GF_OPEN_FAILED);
    EXPECT_EQ(out(), "C" + kAbort);
}

// The sender chooses 1024-byte blocks only while more than 896 bytes are left.
TEST_F(XyScript, OneKSenderBlockSizes) {
    for (auto [size, blocks] : {std::pair{896, 7}, {900, 1}, {1000, 1}, {1025, 2}}) {
        writeFile(dir / "s", std::string(size, 's'));
        std::deque<std::string> acks(blocks + 1, kAck);
        acks.push_front("C");
        EXPECT_EQ(run("XMODEM", true, acks, GF_TYPE_XMODEM_1K, dir / "s"), 0) << size;
        const std::string expected = size == 896    ? std::string(7, '\x01')
                                     : size == 1025 ? "\x02\x01"
                                                    : "\x02";
        std::string starts;
        for (size_t at = 0; out()[at] != '\x04'; at += out()[at] == '\x01' ? 133 : 1029) {
            starts += out()[at];
        }
        EXPECT_EQ(starts, expected) << size;
    }
}

// The sender's limits: no start, ten refusals of one block, a cancel, a NAK while streaming,
// and a batch without a file it can read.
TEST_F(XyScript, SenderErrorCodes) {
    writeFile(dir / "s", std::string(300, 's'));
    EXPECT_EQ(run("XMODEM", true, {}, -1, dir / "s"), GF_NO_ANSWER);
    EXPECT_EQ(run("XMODEM", true, {"C", kNak, kNak, kNak, kNak, kNak, kNak, kNak, kNak, kNak, kNak},
                  -1, dir / "s"),
              GF_TOO_MANY_ERRORS);
    EXPECT_TRUE(monitor.saw("msg Exceeded maximum error count"));
    EXPECT_EQ(run("XMODEM", true, {"\x18\x18"}, -1, dir / "s"), GF_REMOTE_CANCEL);
    EXPECT_EQ(run("XMODEM", true, {"G", "", kNak}, GF_TYPE_XMODEM_1KG, dir / "s"),
              GF_REMOTE_CANCEL);
    EXPECT_EQ(run("YMODEM", true, {"C", kAck}, -1, dir / "missing"), GF_NOTHING_TO_SEND);
}

}  // namespace
