// Opening and closing a CommPort: the shared-interrupt probe, exclusive open, line settings,
// and the watches that stand in for a reader thread.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>

#include "link/CommPort.h"
#include "platform/TextCodec.h"

namespace {

constexpr int kStatusPollMs = 200;

const char* const kNotConnectedText =
    "\"%s\"은(는) 올바른 통신포트에 연결되어 있지 않습니다.\n모뎀 등록 정보를 확인해 보십시오.";
const char* const kInUseText =
    "\"%s\"은(는) 다른 통신 프로그램이나\n전화 접속 네트워킹에 의해 이미 사용중입니다.";
const char* const kNotAPortText = "\"%s\"은(는) 올바른 통신포트 혹은 모뎀이 아닙니다.\n";
const char* const kCannotOpenText = "\"%s\"을(를) 열수 없습니다.\n%x";

std::string replaceFirst(std::string text, const std::string& what, const std::string& with) {
    const size_t at = text.find(what);
    return at == std::string::npos ? text : text.replace(at, what.size(), with);
}

// A port is held when it is opened exclusively or locked by another program. A port we may
// not open at all (EACCES) is not taken for held.
bool portHeld(const std::string& device) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == EBUSY;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

}  // namespace

bool CommPort::Open(const std::string& name, int inQueue, int outQueue) {
    (void)outQueue;  // the driver's output queue is its own; the link limits its writes
    Close();
    portName_ = name;
    errorText_.clear();
    lastError_ = 0;
    const std::string device = ctx_.modems.devicePath(name);
    if (!probeSharedInterrupt(device)) return false;
    fd_ = openDevice(device);
    if (fd_ < 0) return false;
    configure();
    readChunk_ = inQueue;
    ring_.reset(2 * static_cast<size_t>(inQueue));
    holdRing_.reset(kHoldRingSize);
    hold_ = false;
    lost_ = false;
    outputRoom_ = true;
    {
        std::lock_guard<std::mutex> lock(lock_);
        paused_ = false;
        pendingReads_ = 1;
        outputThreshold_ = -1;
        eventMask_ = kRxChar;
    }
    ApplyCtsFlow();
    startWatching();
    return true;
}

bool CommPort::probeSharedInterrupt(const std::string& device) {
    const std::string partner = sharedInterruptPartner(device);
    if (partner.empty() || !portHeld(partner)) return true;
    if (ctx_.comm.GetInt("CheckPortConflict", 1) == 0) return true;
    PromptRequest question;
    question.text = replaceFirst("%s이(가) 이미 사용중입니다.", "%s", serialEntryName(partner)) +
                    "\n\nCOM1과 COM3, 또는 COM2와 COM4를 동시에 사용하면 시스템이 오동작할 수 "
                    "있습니다.\n\n" +
                    replaceFirst("통신포트 %s을(를) 여시겠습니까?", "%s", serialEntryName(device));
    question.buttons = PromptButtons::YesNo;
    question.icon = PromptIcon::Warning;
    question.checkText = "항상 확인(&A)";
    question.checked = true;
    const PromptReply reply = ctx_.prompt.show(question);
    if (reply.answer != PromptAnswer::Yes) return false;
    if (!reply.checked) ctx_.comm.SetInt("CheckPortConflict", 0);
    return true;
}

// Exclusive: TIOCEXCL keeps others out, and the lock holds for root too. The lock is taken
// first so that a port held by somebody else is left as it was.
int CommPort::openDevice(const std::string& device) {
    const int fd =
        device.empty() ? -1 : open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return openFailed(device.empty() ? ENOENT : errno);
    if (!isatty(fd)) {
        close(fd);
        lastError_ = ENOTTY;
        errorText_ = replaceFirst(kNotAPortText, "%s", cp949ToUtf8Lossy(portName_));
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        close(fd);
        return openFailed(error);
    }
    return fd;
}

int CommPort::openFailed(int error) {
    lastError_ = error;
    const std::string name = cp949ToUtf8Lossy(portName_);
    if (error == ENOENT || error == ENODEV || error == ENXIO) {
        errorText_ = replaceFirst(kNotConnectedText, "%s", name);
    } else if (error == EBUSY) {
        errorText_ = replaceFirst(kInUseText, "%s", name);
    } else {
        char number[16];
        std::snprintf(number, sizeof number, "%x", error);
        errorText_ = replaceFirst(replaceFirst(kCannotOpenText, "%s", name), "%x", number);
    }
    return -1;
}

// The modem's stored settings, or 115200 8N1 with CTS flow. With "ModemDtrOff" the modem
// keeps the line when the port closes: DTR goes down now and closing leaves it alone.
void CommPort::configure() {
    const PortSettings settings = ctx_.modems.settingsFor(portName_).value_or(PortSettings{});
    portSettings_ = settings.toTermios();
    ctsFlowConfigured_ = settings.ctsFlow;
    const bool dtrOff = ctx_.comm.GetInt("ModemDtrOff", 0) != 0;
    if (!dtrOff) portSettings_.c_cflag |= HUPCL;
    tcsetattr(fd_, TCSANOW, &portSettings_);
    ctx_.lines.setOutput(fd_, OutputLine::Dtr, !dtrOff);
}

void CommPort::startWatching() {
    lastStatus_ = ModemStatus();
    readWatch_ = ctx_.loop.addWatch(fd_, LoopEvent::Readable, [this](unsigned) { onReadable(); });
    roomWatch_ = ctx_.loop.addWatch(fd_, LoopEvent::Writable, [this](unsigned) { onOutputRoom(); });
    statusTimer_ = ctx_.loop.addTimer(kStatusPollMs, true, [this] { onStatusTick(); });
    std::lock_guard<std::mutex> lock(lock_);
    changeMaskLocked(0, 0);
}

void CommPort::stopWatching() {
    ctx_.loop.removeWatch(readWatch_);
    ctx_.loop.removeWatch(roomWatch_);
    ctx_.loop.removeTimer(statusTimer_);
    readWatch_ = roomWatch_ = statusTimer_ = -1;
}

bool CommPort::Close() {
    hold_ = false;
    if (fd_ < 0) return true;
    stopWatching();
    ioctl(fd_, TIOCNXCL);
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    ring_.clear();
    holdRing_.clear();
    return closed;
}
