#pragma once
// The link over telnet: what the session, the terminal and the transfer engines see of a TCP
// connection. It answers the host's option requests byte by byte, edits lines locally while the
// host does not echo, logs in through a telnet proxy when the settings ask for one, and hands on
// the host's data without the telnet coding. Created by the session for each telnet
// connection; runs on the user-interface thread, and on the transfer thread while a transfer
// engine holds it in transfer mode.
#include <array>
#include <atomic>
#include <string>
#include <string_view>

#include "link/TelnetLineEditor.h"
#include "link/TelnetOptions.h"
#include "link/TelnetProxyWatcher.h"
#include "link/TelnetSocket.h"
#include "xfer/GFComLink.h"
#include "xfer/GFErrors.h"

class TelnetLink : public GFComLink {
public:
    explicit TelnetLink(const TelnetContext& context) : ctx_(context), socket_(context) {}

    // host: CP949, a name or a dotted address. Connects to it, or to the proxy of the `Comm`
    // settings. False when there is no socket (LastError -801), the name was not found or the
    // user cancelled the lookup; how the connection then goes is shown in the stream.
    bool Connect(const std::string& host, int port);
    int LastError() const { return error_; }
    // The connect has started and has had no answer yet.
    bool Connecting() const { return socket_.connecting(); }
    // Runs over a descriptor that is connected already (a socket pair in tests) instead.
    void Adopt(int fd, const std::string& hostName) { socket_.adopt(fd, hostName); }
    // The options agreed so far, ours and the host's.
    const TelnetOptions& options() const { return options_; }
    void SetActivityHandler(TelnetSocket::ActivityHandler handler) {
        socket_.setActivityHandler(std::move(handler));
    }
    // The status-bar text when the host closes the connection.
    void SetStatusHandler(TelnetSocket::StatusHandler handler) {
        socket_.setStatusHandler(std::move(handler));
    }

    int SendBreak() override;
    int AbortOutput() override { return socket_.connected() ? 0 : GF_CARRIER_LOST_WRITING; }
    int Close() override;
    int HangUp(int final) override;
    int IsDrained() override { return InputCount() < 1 && OutputCount() < 1; }
    int WaitReady(int event, int block) override;
    void SendPending() override { socket_.sendPending(); }
    bool IsOnline() override { return socket_.connected(); }
    int InputCount() override { return next_ < end_ || socket_.hasInput() ? 1 : 0; }
    int OutputCount() override { return socket_.outputCount(); }
    void PurgeInput() override;
    void PurgeOutput() override { socket_.purgeOutput(); }
    void BeginHold() override { socket_.beginHold(); }
    void EndHold() override { socket_.endHold(); }
    int WriteByte(int c) override;
    int WriteString(const char* text) override;
    int Write(const void* data, int count) override;
    int ReadByte() override { return next_ < end_ ? decoded_[next_++] : decodeByte(); }
    int Read(void* data, int count) override;
    int Flush(int direction, int count) override;
    int SetTransferMode(int on) override;

private:
    enum class State { Data, Iac, Option, SbOption, SbTtype, SbTtypeIac, SbSkip, SbSkipIac };

    // Decodes what has been received into the decoded buffer and takes its first byte; -802
    // when nothing came.
    int decodeByte();
    // Decodes received bytes into out, at most room of them; how many data bytes came out.
    // Plain data takes the short way; everything else goes through decode.
    size_t decodeInto(uint8_t* out, size_t room);
    // One received byte through the telnet state machine: the data byte it stands for, or -1.
    int decode(uint8_t b);
    void answerOption(uint8_t option);
    bool lineEditing() const;
    void typeIntoLine(const uint8_t* data, int count);
    // Queues data for the host, IAC doubled and, with crNul, CR followed by NUL; how many of
    // the bytes were taken.
    int queueData(const uint8_t* data, int count, bool crNul);
    // Queues telnet commands as they are, whole or not at all.
    void queueCommand(std::string_view bytes);

    TelnetContext ctx_;
    TelnetSocket socket_;
    TelnetOptions options_;
    TelnetLineEditor editor_;
    TelnetProxyWatcher proxy_;
    // Data decoded ahead of the reader, so that a byte costs the reader little more than a
    // call: [next_, end_) is still to be read.
    std::array<uint8_t, 8192> decoded_;
    size_t next_ = 0;
    size_t end_ = 0;
    State state_ = State::Data;
    uint8_t verb_ = 0;
    uint8_t previous_ = 0;
    std::atomic<bool> transferMode_{false};  // set on the user-interface thread, cleared on the
                                             // transfer thread
    int error_ = 0;
};
