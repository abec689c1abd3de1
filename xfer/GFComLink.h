#pragma once
// The byte link that the terminal and the transfer engines talk through. A host derives one
// per kind of connection (serial port, telnet, memory); every operation has a harmless default.

#include "xfer/GFErrors.h"

// Flush's direction: what was received, or what waits to be sent.
enum GFFlushDirection : int { GF_FLUSH_INPUT = 0, GF_FLUSH_OUTPUT = 1 };

// Control's codes. DTR and RTS are set by a value of 0 or more and read by a negative one; the
// break takes Break's state; the last four read a modem status line (1 on, 0 off). Unknown
// codes give 2.
enum GFLinkControl : int {
    GF_CONTROL_DTR = 3,
    GF_CONTROL_RTS = 4,
    GF_CONTROL_BREAK = 7,
    GF_CONTROL_CTS = 12,
    GF_CONTROL_DSR = 13,
    GF_CONTROL_RING = 14,
    GF_CONTROL_CARRIER = 15,
};

class GFComLink {
public:
    virtual int SendBreak() { return 0; }
    virtual ~GFComLink() = default;
    virtual int AbortOutput() { return 0; }
    virtual int Close() { return 0; }
    // Writes text and a CR; without text only the CR.
    virtual int SendCommand(const char* /*text*/) { return 0; }
    virtual int HangUp(int /*final*/) { return 1; }
    virtual int IsDrained() { return 1; }
    // event 1: received bytes are waiting; event 2: the output queue has room. With block set
    // the call may wait up to one second. Non-zero when the condition holds.
    virtual int WaitReady(int /*event*/, int /*block*/) { return 0; }
    virtual void SendPending() {}
    virtual bool IsOnline() { return false; }
    virtual int UpdateStatus() { return 0; }
    virtual int InputCount() { return 0; }
    virtual int OutputCount() { return 0; }
    virtual void PurgeInput() {}
    virtual void PurgeOutput() {}
    // A group of WriteByte calls follows; EndHold lets the queued group go out.
    virtual void BeginHold() {}
    virtual void EndHold() {}
    virtual int Break(int /*state*/) { return 0; }
    virtual int Control(int /*code*/, int /*value*/) { return 0; }
    // Queues the low 8 bits of c: 0 when queued, -805 when the queue is full, another
    // negative value on failure.
    virtual int WriteByte(int /*c*/) { return -1; }
    virtual int WriteString(const char* /*text*/) { return 0; }
    // Queues up to count bytes in one go; returns how many were queued (0 when none). Engines
    // pass whole encoded blocks here and give whatever was not taken to WriteByte.
    virtual int Write(const void* /*data*/, int /*count*/) { return 0; }
    // The next received byte 0..255, or -802 when none is waiting.
    virtual int ReadByte() { return GF_READ_TIMEOUT; }
    // Takes up to count received bytes at once; how many (0 when none). Engines fall back to
    // ReadByte when it gives nothing.
    virtual int Read(void* /*data*/, int /*count*/) { return 0; }
    virtual int Flush(int /*direction*/, int /*count*/) { return 0; }
    // Called with 1 when a transfer engine takes the link and 0 when it gives it back; the
    // answer to 1 is non-zero when every control character should be escaped.
    virtual int SetTransferMode(int /*on*/) { return 0; }
    virtual void SetDraining(int /*on*/) {}
};
