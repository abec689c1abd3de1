// The ZMODEM sender against a receiver played by the test: its use of the receiver's buffer
// length, block halving on repeated repositioning, escaping, and frames on the wire.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <functional>
#include <set>
#include <thread>

#include "link/MemoryLink.h"
#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/fixtures/ScaledClock.h"
#include "tests/fixtures/ZStream.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFErrors.h"
#include "xfer/GFZmodem.h"
#include "xfer/ZmodemDefs.h"

namespace {

using namespace zstream;

// A ZMODEM receiver run by the test on a descriptor. It records every data subpacket it takes
// and every header it reads, and may ask for a position again instead of taking a subpacket.
class ScriptedReceiver {
public:
    struct Taken {
        uint32_t position;
        size_t length;
        char end;
    };
    // askAgain(position) true: answer the subpacket at position with ZRPOS position.
    // capabilities: ZF0 of the receiver's ZRINIT (full duplex, overlapped I/O, CRC-32).
    ScriptedReceiver(int fd, uint16_t bufferLength, std::function<bool(uint32_t)> askAgain,
                     uint8_t capabilities = CANFDX | CANOVIO | CANFC32)
        : fd_(fd),
          bufferLength_(bufferLength),
          capabilities_(capabilities),
          askAgain_(std::move(askAgain)),
          thread_([this] { run(); }) {}
    ~ScriptedReceiver() { thread_.join(); }

    std::vector<Taken> taken;
    std::vector<uint32_t> frames;  // positions of the ZDATA headers taken
    std::vector<Event> headers;
    int badSubpackets = 0;
    std::string data;

private:
    int nextByte() {
        if (at_ == end_) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0) return -1;
            ssize_t n = read(fd_, buffer_, sizeof buffer_);
            if (n <= 0) return -1;
            at_ = 0;
            end_ = static_cast<size_t>(n);
        }
        return static_cast<uint8_t>(buffer_[at_++]);
    }
    void send(const std::string& bytes) {
        if (write(fd_, bytes.data(), bytes.size()) < 0) return;
    }
    void sendInit() {
        send(hexHeader(ZRINIT, {static_cast<uint8_t>(bufferLength_),
                                static_cast<uint8_t>(bufferLength_ >> 8), 0, capabilities_}));
    }
    void run() {
        Reader reader([this] { return nextByte(); });
        sendInit();
        uint32_t position = 0;
        bool accepting = false, fileInfo = false;
        for (Event e = reader.read(); e.kind != Event::kEnd; e = reader.read()) {
            if (e.kind == Event::kSubpacket) {
                if (!e.crcOk) ++badSubpackets;
                if (fileInfo) {
                    fileInfo = false;
                    send(hexHeader(ZRPOS, pos(position)));
                } else if (accepting && askAgain_(position)) {
                    accepting = false;
                    send(hexHeader(ZRPOS, pos(position)));
                } else if (accepting && e.crcOk) {
                    taken.push_back({position, e.data.size(), e.end});
                    data += e.data;
                    position += static_cast<uint32_t>(e.data.size());
                    if (e.end == 'k' || e.end == 'j') send(hexHeader(ZACK, pos(position)));
                }
                continue;
            }
            headers.push_back(e);
            switch (e.type) {
                case ZRQINIT:
                    sendInit();
                    break;
                case ZFILE:
                    fileInfo = true;
                    break;
                case ZDATA:
                    accepting = e.position == position;
                    if (accepting) frames.push_back(position);
                    break;
                case ZEOF:
                    if (e.position == position) sendInit();
                    break;
                case ZFIN:
                    send(hexHeader(ZFIN, pos(0)));
                    nextByte();
                    nextByte();
                    return;
            }
        }
    }

    int fd_;
    uint16_t bufferLength_;
    uint8_t capabilities_;
    std::function<bool(uint32_t)> askAgain_;
    char buffer_[65536];
    size_t at_ = 0, end_ = 0;
    std::thread thread_;
};

class Sender : public ::testing::Test {
protected:
    std::string source(size_t size) {
        writeFile(dir / "file.bin", xfertest::randomData(size, 21));
        return dir / "file.bin";
    }
    static void writeFile(const std::string& p, const std::string& d) { xfertest::writeFile(p, d); }

    xfertest::TempFolder dir;
    RecordingMonitor monitor;
};

// The receiver has room for 4096 bytes: every fourth 1024-byte subpacket waits for its ZACK,
// and each frame starts with a fresh ZDATA header and a full buffer.
TEST_F(Sender, StopsWhenTheReceiversBufferIsFull) {
    const std::string file = source(20000);
    SocketPair pair;
    int result;
    {
        ScriptedReceiver receiver(pair.theirs, 4096, [](uint32_t) { return false; });
        EngineThread sender(pair.ours, true, file, monitor);
        result = sender.result();
        EXPECT_TRUE(xfertest::sameBytes(receiver.data, xfertest::readFile(file)));
        ASSERT_FALSE(receiver.taken.empty());
        size_t inFrame = 0;
        for (const auto& t : receiver.taken) {
            inFrame += t.length;
            ASSERT_LE(inFrame, 4096u) << "at " << t.position;
            if (t.end == 'k' || t.end == 'h') {
                EXPECT_TRUE(t.end == 'h' || inFrame == 4096u) << "at " << t.position;
                inFrame = 0;
            } else {
                EXPECT_EQ(t.end, 'i');
            }
        }
        EXPECT_EQ(receiver.frames.size(), 5u);  // 0, 4096, 8192, 12288, 16384
    }
    EXPECT_EQ(result, 0);
}

// A receiver that cannot check CRC-32 gets binary headers and data subpackets with CRC-16, and
// the file arrives whole when every subpacket is checked that way.
TEST_F(Sender, UsesCrc16WhenTheReceiverCannotCheckCrc32) {
    const std::string file = source(70000);
    SocketPair pair;
    int result;
    {
        ScriptedReceiver receiver(
            pair.theirs, 0, [](uint32_t) { return false; }, CANFDX | CANOVIO);
        EngineThread sender(pair.ours, true, file, monitor);
        result = sender.result();
        EXPECT_TRUE(xfertest::sameBytes(receiver.data, xfertest::readFile(file)));
        EXPECT_EQ(receiver.badSubpackets, 0);
        std::set<int> binaryTypes;
        for (const Event& h : receiver.headers) {
            EXPECT_TRUE(h.crcOk) << "header type " << h.type;
            if (h.format == 'B') continue;  // hex headers always carry CRC-16
            EXPECT_EQ(h.format, ZBIN) << "header type " << h.type;
            binaryTypes.insert(h.type);
        }
        EXPECT_EQ(binaryTypes, (std::set<int>{ZFILE, ZDATA, ZEOF}));
        EXPECT_GT(receiver.taken.size(), 60u);  // 70000 bytes in subpackets of at most 1024
    }
    EXPECT_EQ(result, 0);
}

// The receiver asks for position 2048 again and again: the block length halves at the fifth
// repeat, again at the ninth and tenth (to 128, never lower), and the 37th repeat gives up.
TEST_F(Sender, RepeatedRepositioningHalvesTheBlockThenGivesUp) {
    const std::string file = source(65536);
    SocketPair pair;
    int result;
    {
        ScriptedReceiver receiver(pair.theirs, 0, [](uint32_t p) { return p == 2048; });
        ScaledClock fast(50);  // the wait for the receiver's CANs after giving up is short
        EngineThread::Options options;
        options.clock = &fast;
        EngineThread sender(pair.ours, true, file, monitor, options);
        result = sender.result();
        (void)receiver;
    }
    EXPECT_EQ(result, GF_TOO_MANY_ERRORS);
    std::vector<std::string> sizes;
    for (const std::string& e : monitor.events())
        if (e.rfind("msg Packet Size=", 0) == 0) sizes.push_back(e.substr(16));
    EXPECT_EQ(sizes, (std::vector<std::string>{"512", "256", "128"}));
    EXPECT_TRUE(monitor.saw("msg Can't send block"));
    int repositions = 0;
    for (const std::string& e : monitor.events())
        if (e == "msg GetInSync: ZRPOS 2048") ++repositions;
    EXPECT_EQ(repositions, 38);  // the first request, then 37 repeats
}

// A receiver that asks for a position once, in the middle of the stream, gets a new frame that
// starts exactly there, and no frame at another position; the file arrives whole.
TEST_F(Sender, AnswersARepositioningWithOneFrameAtThatPosition) {
    const std::string file = source(200000);
    SocketPair pair;
    int result;
    {
        bool asked = false;
        ScriptedReceiver receiver(pair.theirs, 0, [&](uint32_t p) {
            if (asked || p < 65536) return false;
            return asked = true;
        });
        EngineThread sender(pair.ours, true, file, monitor);
        result = sender.result();
        EXPECT_TRUE(xfertest::sameBytes(receiver.data, xfertest::readFile(file)));
        EXPECT_EQ(receiver.badSubpackets, 0);
        std::vector<uint32_t> dataHeaders;
        for (const Event& h : receiver.headers)
            if (h.type == ZDATA) dataHeaders.push_back(h.position);
        ASSERT_GE(dataHeaders.size(), 2u);
        EXPECT_EQ(dataHeaders[0], 0u);
        EXPECT_EQ(dataHeaders[1], 65536u);
        EXPECT_EQ(receiver.frames, dataHeaders);  // every frame started where it was wanted
    }
    EXPECT_EQ(result, 0);
}

// Opens the subpacket writer to the test.
class WireZmodem : public GFZmodem {
public:
    using GFZmodem::escapeControls_;
    using GFZmodem::GFZmodem;
    using GFZmodem::SendDataPacket;
};

// Flow-control bytes, ZDLE and 0xFF are always escaped, 0x7F never, and the other control
// bytes only when every control byte is to be escaped (as a receiver or the link may ask).
TEST(SenderWire, Escaping) {
    MemoryLink link;
    GFMonitor monitor;
    WireZmodem engine(&link, &monitor);
    const uint8_t data[] = {0x11, 0x13, 0x18, 0x91, 0x93, 0xFF, 0x7F, 0x0D, 0x41};
    engine.escapeControls_ = false;
    engine.SendDataPacket(data, sizeof data, ZCRCG);
    EXPECT_EQ(link.Output().substr(0, 15), "\x18Q\x18S\x18X\x18\xd1\x18\xd3\x18m\x7f\rA");
    link.ClearOutput();
    engine.escapeControls_ = true;
    engine.SendDataPacket(data, sizeof data, ZCRCG);
    EXPECT_EQ(link.Output().substr(0, 16), "\x18Q\x18S\x18X\x18\xd1\x18\xd3\x18m\x7f\x18MA");
    EXPECT_EQ(link.Groups().size(), 1u);  // one subpacket, one group for the link
}

}  // namespace
