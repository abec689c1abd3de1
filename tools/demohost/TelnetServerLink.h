#pragma once
// One client connection of the demo host as a byte link: telnet decoded on the way in and IAC
// doubled on the way out, over a non-blocking socket. The host's pages write through it and the
// transfer engines take it as their GFComLink. Output that does not fit in the socket's queue
// (256 KiB) is dropped, so a client that stops reading cannot hold the host.
#include <string>

#include "link/FdLink.h"
#include "tools/demohost/TelnetServerCodec.h"

class TelnetServerLink : public GFComLink {
public:
    // waitMs: how long a blocking WaitReady waits at most.
    TelnetServerLink(int socket, int waitMs);

    // Queues text for the client (dropped when the queue is full) and sends it.
    void Send(std::string_view text);
    // Waits up to the link's wait time for received data; false when none came.
    bool WaitInput() { return WaitReady(1, 1) != 0; }
    // Takes every decoded byte received so far.
    std::string TakeInput();
    const TelnetServerCodec& Codec() const { return codec_; }

    int IsDrained() override { return raw_.IsDrained(); }
    int WaitReady(int event, int block) override;
    void SendPending() override { raw_.SendPending(); }
    bool IsOnline() override { return raw_.IsOnline(); }
    int InputCount() override;
    int OutputCount() override { return raw_.OutputCount(); }
    void PurgeInput() override;
    void PurgeOutput() override { raw_.PurgeOutput(); }
    void BeginHold() override { raw_.BeginHold(); }
    void EndHold() override { raw_.EndHold(); }
    int WriteByte(int c) override;
    int WriteString(const char* text) override;
    int Write(const void* data, int count) override;
    int ReadByte() override;
    int Read(void* data, int count) override;

private:
    // Decodes whatever the socket holds; true when decoded data is waiting.
    bool pull();

    FdLink raw_;
    TelnetServerCodec codec_;
    std::string in_;
    size_t inHead_ = 0;
};
