#pragma once
// The TCP connection under a telnet link: a non-blocking socket watched by the loop of the
// user-interface thread, with a receive ring (host bytes and the texts the program shows in the
// terminal) and a send ring. It connects after a name lookup and reports the connection's
// progress and end in the terminal stream, in error boxes and in the status bar.
// Threads: everything runs on the user-interface thread, except that a transfer thread reads and
// writes while the socket is paused (transfer mode). Close from the user-interface thread is
// then only a shutdown, which ends the transfer thread's waits at once; the descriptor goes
// with the object.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "link/ByteRing.h"
#include "link/LinkActivity.h"
#include "link/TelnetContext.h"

class TelnetSocket {
public:
    using ActivityHandler = std::function<void(LinkActivity)>;
    using StatusHandler = std::function<void(const std::string& text)>;  // UTF-8

    explicit TelnetSocket(const TelnetContext& context);
    ~TelnetSocket();
    TelnetSocket(const TelnetSocket&) = delete;
    TelnetSocket& operator=(const TelnetSocket&) = delete;

    // False when the system gave no socket: every connect then fails.
    bool created() const { return fd_ >= 0; }
    // host: CP949, a name or a dotted address. Looks the name up, shows the "trying" text and
    // starts connecting; the outcome arrives later in the stream. False when the name was not
    // found (the user was told) or the user cancelled the lookup (nothing said).
    bool Connect(const std::string& host, int port, bool viaProxy);
    // Takes over a descriptor that is connected already (a socket pair in tests) in place of
    // connecting; it must be non-blocking.
    void adopt(int fd, const std::string& hostName);
    bool connected() const { return connected_; }
    // A connect has started and has had no answer yet.
    bool connecting() const { return connectWatch_ >= 0; }

    // Received bytes that lie one after the other in the ring, refilling it once when it is
    // empty; consumeReceived takes them out.
    std::span<const uint8_t> received() {
        if (receive_.empty()) fill();
        return receive_.readSpan();
    }
    void consumeReceived(size_t count) { receive_.consume(count); }
    // Received bytes are waiting (after one refill attempt).
    bool hasInput();
    // kind 1: received bytes wait; kind 2: the send ring has room and the socket takes bytes.
    // wait: up to a second in poll, else a test.
    bool waitReady(int kind, bool wait);
    // Puts text (CP949, at most 512 bytes) into the receive ring, as if the host had sent it.
    // In transfer mode it waits for the end of it, so that the engine does not take it for data.
    void show(std::string_view text);

    size_t room() const { return send_.room(); }
    // Appends to the send ring; the caller made sure of the room.
    void queue(const uint8_t* data, size_t count) { send_.put(data, count); }
    // Sends what is queued, unless holding and fewer than 512 bytes wait.
    void push();
    // Sends what is queued, holding or not.
    void sendPending() { sendQueued(false); }
    void beginHold() { hold_ = writable_; }
    void endHold();
    // Bytes in the send ring, plus one while the socket does not take more.
    int outputCount() const { return static_cast<int>(send_.used()) + (writable_ ? 0 : 1); }
    void purgeOutput() { send_.clear(); }

    // Transfer mode: no notifications, and sends wait for the socket to take the bytes.
    void setPaused(bool on);
    void close();

    void setActivityHandler(ActivityHandler handler) { activity_ = std::move(handler); }
    void setStatusHandler(StatusHandler handler) { status_ = std::move(handler); }

private:
    bool fill();
    void sendQueued(bool waitForRoom);
    void onReadable();
    void onWritable();
    void onConnectReady();
    void onConnectTimeout();
    void connectFinished(int error);
    void connectionLost(int error);
    void enableWatch(int watch, bool on);
    void removeWatches();
    void reportError(int number);
    void kick();
    void notify(LinkActivity what);

    TelnetContext ctx_;
    int fd_ = -1;
    std::string hostName_;
    std::atomic<bool> connected_{false};
    std::atomic<bool> paused_{false};
    std::atomic<bool> closing_{false};  // we ended it ourselves: nothing to report
    std::atomic<bool> writable_{true};
    bool hold_ = false;
    size_t stagingSize_ = 0;  // the largest single recv
    ByteRing receive_;
    ByteRing send_;
    std::string heldText_;  // shown during transfer mode; used by the transfer thread only
    std::mutex lock_;       // the watch and timer ids, between pause, close and a lost connection
    int readWatch_ = -1;
    int writeWatch_ = -1;
    int connectWatch_ = -1;
    int connectTimer_ = -1;
    ActivityHandler activity_;
    StatusHandler status_;
};
