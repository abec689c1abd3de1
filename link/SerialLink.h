#pragma once
// The link over a serial port to a modem or a direct (null-modem) cable: what the session,
// the dialler and the transfer engines see of the port. Created by the session for each
// modem connection; runs on the user-interface thread, and on the transfer thread while a
// transfer engine holds it in transfer mode.
#include <string>

#include "link/CommPort.h"
#include "xfer/GFComLink.h"

class SerialLink : public GFComLink {
public:
    static constexpr int kModem = 0;
    static constexpr int kDirectCable = 1;

    explicit SerialLink(const SerialContext& context) : ctx_(context), port_(context) {}
    ~SerialLink() override { port_.Close(); }

    // mode: kModem or kDirectCable. On failure the port's message is shown (unless the user
    // declined to open) and LastError() holds the errno.
    bool Open(const std::string& name, int mode, int inQueue, int outQueue);
    int LastError() const { return error_; }
    void SetActivityHandler(CommPort::ActivityHandler handler) {
        port_.SetActivityHandler(std::move(handler));
    }

    int SendBreak() override;
    int AbortOutput() override;
    int Close() override;
    int SendCommand(const char* text) override;
    int HangUp(int final) override;
    int IsDrained() override { return InputCount() < 1 && OutputCount() < 1; }
    int WaitReady(int event, int block) override { return port_.WaitReady(event, block != 0); }
    void SendPending() override { port_.WaitReady(2, false); }
    bool IsOnline() override { return !directCable_ && port_.Carrier(); }
    int UpdateStatus() override;
    int InputCount() override { return port_.QueuedInput() + port_.RingCount(); }
    int OutputCount() override;
    void PurgeInput() override;
    void PurgeOutput() override;
    void BeginHold() override { port_.BeginHold(); }
    void EndHold() override;
    int Break(int state) override;
    int Control(int code, int value) override;
    int WriteByte(int c) override;
    int WriteString(const char* text) override;
    int Write(const void* data, int count) override;
    int ReadByte() override;
    int Read(void* data, int count) override;
    int Flush(int direction, int count) override;
    int SetTransferMode(int on) override;

private:
    int outputBlocked(int queued);

    SerialContext ctx_;
    int error_ = 0;
    bool directCable_ = false;
    int rtsState_ = 1;
    int dtrState_ = 1;
    int outQueueSize_ = 0;
    int inQueueSize_ = 0;
    int breakState_ = 0;
    int cachedModemStatus_ = 0;
    std::string portName_;
    CommPort port_;
};
