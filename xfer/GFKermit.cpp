// Kermit packets and the Send-Init exchange, shared by the sender and the receiver.
#include "xfer/GFKermit.h"

#include <algorithm>

using gfkermit::ctl;
using gfkermit::toChar;
using gfkermit::unChar;

namespace {

constexpr int kSoh = 1;
constexpr int kCr = 13;
constexpr int kByteTimeoutMs = 2000;
// The wait for a packet's SOH counts in seconds: TIME, the other side's time-out, is in
// seconds, and a receiver whose NAK goes out within it spares the sender its own, longer wait
// when a packet or an answer was lost.
constexpr int kSohWaitStepMs = 1000;
// Sending a packet again after an error: ten times, then the transfer ends.
constexpr int kRetries = 10;
// The largest and smallest MAXL we act on: one character carries at most 94, and a packet
// must hold the longest encoded byte (a repeated, prefixed control byte: five characters).
constexpr int kLongestMaxl = 94;
constexpr int kShortestMaxl = 10;

}  // namespace

GFKermit::GFKermit(GFComLink* link, GFMonitor* monitor)
    : GFProtocol(link, monitor, GF_TYPE_KERMIT, GF_CHECK_KERMIT, 128) {
    // A link without a carrier signal (a direct cable) must not end the transfer.
    if (!link_->IsOnline()) carrierCheck_ = false;
}

int GFKermit::Init() {
    theirs_ = Params{};
    out_ = gfkermit::Prefixes{};
    in_ = gfkermit::Prefixes{};
    ourChkt_ = '3';
    check_ = 1;
    discarded_ = false;
    monitor_->SetBlockNumber(0);
    return GFProtocol::Init();
}

int GFKermit::SendFile(const char* files) {
    monitor_->Initialize(1);
    monitor_->SetFileName(files ? files : "");
    ourQbin_ = '&';
    ourRept_ = '~';
    buildFileList(files);
    link_->PurgeInput();
    runSender();
    fileList_.reset();
    return lastError();
}

int GFKermit::ReceiveFile(const char* /*target*/) {
    monitor_->Initialize(0);
    ourQbin_ = 'Y';
    ourRept_ = 0;
    link_->PurgeInput();
    runReceiver();
    return lastError();
}

std::string GFKermit::buildPacket(int type, int seq, const std::string& data, int check) const {
    std::string packet(1, static_cast<char>(kSoh));
    packet +=
        static_cast<char>(toChar(static_cast<int>(data.size()) + 2 + gfkermit::checkLength(check)));
    packet += static_cast<char>(toChar(seq));
    packet += static_cast<char>(type);
    packet += data;
    packet += gfkermit::checkChars(
        check, gfkermit::blockCheck(check, reinterpret_cast<const uint8_t*>(packet.data()) + 1,
                                    static_cast<int>(packet.size()) - 1));
    packet += static_cast<char>(theirs_.eol);
    return packet;
}

bool GFKermit::sendPacket(int type, int seq, const std::string& data, int check) {
    message("Sending a %c packet of %d bytes", type, static_cast<int>(data.size()));
    monitor_->SetPacketNumber(seq);
    const std::string packet = std::string(theirs_.npad, static_cast<char>(theirs_.padc)) +
                               buildPacket(type, seq, data, check);
    if (writeBlock(reinterpret_cast<const uint8_t*>(packet.data()),
                   static_cast<int>(packet.size())) == 0) {
        return true;
    }
    fail(GF_WRITE_BUFFER_TIMEOUT, "Error sending buffer");
    return false;
}

// Goes out after a failure has been recorded, so it is written past the usual checks.
void GFKermit::sendErrorPacket() {
    message("Sending an E packet");
    if (WriteString(buildPacket('E', seq(), "", check_).c_str())) WaitDrain(true);
}

int GFKermit::readPacket() {
    int timeouts = 0;
    for (;;) {
        const int c = ReadChar(kSohWaitStepMs);
        if (AbortCheck(kAbortCheck1)) return kStopped;
        if (c == kSoh) break;
        if (c < 0 && theirs_.time > 0 && ++timeouts >= theirs_.time) return kTimeout;
    }
    const int type = readPacketBody();
    if (AbortCheck(kAbortCheck1)) return kStopped;
    if (type >= 0) message("Recvd packet type %c length %d", type, rxLength_);
    return type;
}

// The bytes after SOH: LEN, SEQ, TYPE, DATA and CHECK go to the work buffer. Another SOH
// starts the packet over (what came before was a damaged packet); a CR before the announced
// length, or a length the buffer cannot hold, makes a bad packet.
int GFKermit::readPacketBody() {
    uint8_t* p = buffer_.data();
    const int room = static_cast<int>(buffer_.size()) - 1;
    int length = -1;
    int have = 0;
    while (length < 0 || have <= length) {
        const int c = readFollowing(kByteTimeoutMs);
        if (c < 0) return kTimeout;
        if (c == kSoh) {
            length = -1;
            have = 0;
            continue;
        }
        if (c == kCr) return kBadPacket;
        p[have++] = static_cast<uint8_t>(c);
        if (length < 0) {
            length = unChar(c);
            if (length < 3 || length > room) return kBadPacket;
        }
    }
    const int check = p[2] == 'S' ? 1 : check_;
    const int checkAt = length + 1 - gfkermit::checkLength(check);
    if (checkAt < 3) return kBadPacket;
    const int computed = gfkermit::blockCheck(check, p, checkAt);
    monitor_->SetBlockChecksum(gfkermit::readCheck(check, p + checkAt));
    const std::string expected = gfkermit::checkChars(check, computed);
    if (!std::equal(expected.begin(), expected.end(), p + checkAt)) return kBadPacket;
    rxSeq_ = unChar(p[1]);
    if (rxSeq_ < 0 || rxSeq_ > 63) return kBadPacket;
    rxLength_ = checkAt - 3;
    monitor_->SetPacketNumber(rxSeq_);
    monitor_->SetBlockSize(rxLength_);
    return p[2];
}

// The retry limit is per packet: the count starts again with every packet that gets through.
bool GFKermit::retry() {
    if (countBlockError(GF_TOO_MANY_ERRORS, kRetries + 1)) return true;
    message("Too many retries");
    return false;
}

void GFKermit::fail(int code, const char* text) {
    message("%s", text);
    setError(code);
}

void GFKermit::finish() {
    const int e = lastError();
    if (e != 0 && e != GF_REMOTE_CANCEL && !carrierLost()) sendErrorPacket();
    Cleanup();
}

std::string GFKermit::initData() {
    std::string d;
    d += static_cast<char>(toChar(kLongestMaxl));
    d += static_cast<char>(toChar(10));
    d += static_cast<char>(toChar(0));
    d += static_cast<char>(ctl(0));
    d += static_cast<char>(toChar(kCr));
    d += '#';
    d += static_cast<char>(ourQbin_);
    d += static_cast<char>(ourChkt_);
    if (ourRept_) d += static_cast<char>(ourRept_);
    message("Sending %d byte init packet", static_cast<int>(d.size()));
    return d;
}

void GFKermit::readParams(bool receiving) {
    const uint8_t* d = buffer_.data() + 3;
    const int n = rxLength_;
    Params p;
    if (n > 0) p.maxl = std::clamp(unChar(d[0]), kShortestMaxl, kLongestMaxl);
    if (n > 1) p.time = std::max(unChar(d[1]), 0);
    if (n > 2) p.npad = std::clamp(unChar(d[2]), 0, 94);
    if (n > 3) p.padc = ctl(d[3]);
    if (n > 4 && unChar(d[4]) > 0 && unChar(d[4]) < 32) p.eol = unChar(d[4]);
    if (n > 5 && gfkermit::isPrefixChar(d[5])) p.qctl = d[5];
    if (n > 6) p.qbin = d[6];
    if (n > 7) p.chkt = d[7];
    if (n > 8) p.rept = d[8];
    theirs_ = p;
    in_.ctl = p.qctl;
    if (receiving) {
        const bool bin = p.qbin != 'N' && p.qbin != 'Y' && gfkermit::isPrefixChar(p.qbin);
        in_.bin = bin ? p.qbin : 0;
        // Answering with another type than the sender asked for leaves both at type 1.
        ourChkt_ = p.chkt == '3' ? '3' : '1';
        ourRept_ = gfkermit::isPrefixChar(p.rept) ? p.rept : 0;
        in_.rpt = ourRept_;
    } else {
        out_.bin = p.qbin == '&' || p.qbin == 'Y' ? '&' : 0;
        out_.rpt = p.rept == ourRept_ ? ourRept_ : 0;
        check_ = agreedCheck();
    }
    reportParams();
}

void GFKermit::reportParams() {
    message("max_len=%d timeout=%d pad_count=%d", theirs_.maxl, theirs_.time, theirs_.npad);
    message("pad_char=%d eol=%d quot_char=%c", theirs_.padc, theirs_.eol, theirs_.qctl);
    const int bin = monitor_->GetSending() ? out_.bin : in_.bin;
    message("qbin=%d his_qbin=%c my_qbin=%c", bin != 0, theirs_.qbin, ourQbin_);
    const int rpt = monitor_->GetSending() ? out_.rpt : in_.rpt;
    message("rpt flag=%d my/his rpt char=%c/%c", rpt != 0, ourRept_ ? ourRept_ : ' ',
            theirs_.rept ? theirs_.rept : ' ');
    message("block check type %d", agreedCheck());
}
