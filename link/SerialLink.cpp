#include "link/SerialLink.h"

#include <algorithm>
#include <cstring>

#include "auto/ProgramExit.h"
#include "xfer/GFErrors.h"

namespace {

constexpr int kBreakMs = 1000;
constexpr int kPurgeStepMs = 100;
constexpr int kGuardMs = 1000;         // silence before the modem's escape sequence
constexpr int kAfterEscapeSteps = 12;  // of kPurgeStepMs: silence after it
constexpr int kBreakFailed = -827;
constexpr int kFlushFailed = -801;

}  // namespace

bool SerialLink::Open(const std::string& name, int mode, int inQueue, int outQueue) {
    error_ = 0;
    breakState_ = 0;
    rtsState_ = dtrState_ = 1;
    directCable_ = mode == kDirectCable;
    portName_ = name;
    inQueueSize_ = inQueue;
    outQueueSize_ = outQueue;
    if (port_.Open(name, inQueue, outQueue)) return true;
    error_ = port_.lastError();
    if (!port_.errorText().empty()) ctx_.prompt.tell(port_.errorText(), PromptIcon::Error);
    return false;
}

int SerialLink::SendBreak() {
    if (breakState_ != 0) return 0;
    Break(1);
    const int64_t start = ctx_.clock.nowMs();
    while (ctx_.clock.nowMs() - start < kBreakMs) {
        PurgeInput();
        ctx_.clock.sleepMs(kPurgeStepMs);
    }
    Break(0);
    return 0;
}

int SerialLink::AbortOutput() {
    if (breakState_ != 0) {
        port_.ResetRing();
        port_.Purge(CommPort::kPurgeOutput);
    }
    return 0;
}

int SerialLink::Close() {
    Flush(GF_FLUSH_INPUT, 0);
    Flush(GF_FLUSH_OUTPUT, 0);
    return port_.Close() ? 0 : -1;
}

int SerialLink::SendCommand(const char* text) {
    if (!text) {
        WriteByte('\r');
        return 0;
    }
    for (; *text; ++text)
        if (WriteByte(static_cast<unsigned char>(*text)) != 0) return 0;
    WriteByte('\r');
    return 1;
}

// A modem is put back into command mode by "+++" framed by a second of silence on each side,
// then told to hang up. A direct cable gets a break instead. DTR is never dropped for it.
int SerialLink::HangUp(int final) {
    PurgeInput();
    if (directCable_) {
        if (!final) SendBreak();
        return 1;
    }
    if (port_.Carrier()) {
        PurgeOutput();
        ctx_.clock.sleepMs(kGuardMs);
        port_.WriteText("+++");
        for (int i = 0; i < kAfterEscapeSteps; ++i) {
            PurgeInput();
            ctx_.clock.sleepMs(kPurgeStepMs);
        }
        PurgeInput();
        port_.WriteText("ATH\r");
    }
    if (final) {
        setProgramExiting(true);
        ctx_.loop.requestClose();
    }
    return 1;
}

int SerialLink::UpdateStatus() {
    cachedModemStatus_ = port_.ModemStatus() & 0xFF;
    return cachedModemStatus_;
}

// Bytes still held count as queued output, so waiting for a drain waits for them too.
int SerialLink::OutputCount() {
    const int blocked = !directCable_ && port_.OutputBlocked() ? 1 : 0;
    return port_.QueuedOutput() + port_.HeldBytes() + blocked;
}

void SerialLink::PurgeInput() {
    port_.ResetRing();
    port_.Fill(0);
    port_.ResetRing();
    port_.Purge(CommPort::kPurgeInput);
}

void SerialLink::PurgeOutput() {
    port_.Purge(CommPort::kPurgeOutput);
}

void SerialLink::EndHold() {
    if (!port_.EndHold()) error_ = GF_OUTPUT_FULL;
}

int SerialLink::Break(int state) {
    if (state < 0) return breakState_;
    if (!(state == 1 ? port_.SetBreak() : port_.ClearBreak())) {
        error_ = kBreakFailed;
        return kBreakFailed;
    }
    breakState_ = state;
    return breakState_;
}

int SerialLink::Control(int code, int value) {
    switch (code) {
        case GF_CONTROL_DTR:
            if (value >= 0) {
                dtrState_ = value != 0 ? 1 : 0;
                port_.Escape(OutputLine::Dtr, dtrState_ != 0);
            }
            return dtrState_;
        case GF_CONTROL_RTS:  // 0 low, 1 high, other values leave it to the driver's flow control
            if (value >= 0) {
                rtsState_ = value;
                if (value <= 1) port_.Escape(OutputLine::Rts, value == 1);
            }
            return rtsState_;
        case GF_CONTROL_BREAK:
            return Break(value);
        case GF_CONTROL_CTS:
            return (port_.ModemStatus() & kCtsOn) != 0;
        case GF_CONTROL_DSR:
            return (port_.ModemStatus() & kDsrOn) != 0;
        case GF_CONTROL_RING:
            return (port_.ModemStatus() & kRingOn) != 0;
        case GF_CONTROL_CARRIER:
            return (port_.ModemStatus() & kCarrierOn) != 0;
        default:
            return 2;
    }
}

int SerialLink::WriteByte(int c) {
    const uint8_t byte = static_cast<uint8_t>(c);
    return Write(&byte, 1) == 1 ? 0 : error_;
}

int SerialLink::WriteString(const char* text) {
    return Write(text, static_cast<int>(std::strlen(text)));
}

// Writes what the driver's output queue has room for; a short count sets -805 (output full).
int SerialLink::Write(const void* data, int count) {
    if (count <= 0) return 0;
    const int queued = port_.QueuedOutput();
    const int n = std::min(count, outQueueSize_ - queued);
    if (!directCable_ && port_.OutputBlocked()) return outputBlocked(queued);
    if (n <= 0) return outputBlocked(queued);
    const int written = port_.Write(static_cast<const uint8_t*>(data), n);
    if (written == 0) port_.SetOutputThreshold(queued);
    if (written < count) error_ = GF_OUTPUT_FULL;
    return written;
}

int SerialLink::outputBlocked(int queued) {
    error_ = GF_OUTPUT_FULL;
    port_.SetOutputThreshold(queued);
    return 0;
}

int SerialLink::ReadByte() {
    uint8_t byte;
    if (port_.Read(&byte, 1) != 1) return GF_READ_TIMEOUT;
    return byte;
}

int SerialLink::Read(void* data, int count) {
    return count > 0 ? port_.Read(static_cast<uint8_t*>(data), count) : 0;
}

int SerialLink::Flush(int direction, int count) {
    if (direction == GF_FLUSH_OUTPUT) {
        PurgeOutput();
        return 0;
    }
    if (count == 0) {
        PurgeInput();
        return 0;
    }
    int discarded = 0;
    while (ReadByte() != GF_READ_TIMEOUT)
        ++discarded;
    return discarded >= count && InputCount() > 0 ? kFlushFailed : 0;
}

// The settings store is only read when a transfer starts, on the user-interface thread; the
// answer to 0 is not used.
int SerialLink::SetTransferMode(int on) {
    if (on) port_.ApplyCtsFlow();
    port_.SetPaused(on != 0);
    return on && ctx_.comm.GetInt("ZmodemEscape", 0) > 0 ? 1 : 0;
}
