#pragma once
// What the telnet link tests share beside the common link test set-up: a host of the test's
// own on a loopback port. The loop's idle hook plays the session's pump: it reads what the link
// has into `received`.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <unistd.h>

#include "link/TelnetLink.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/link/LinkTestSupport.h"

class TelnetTest : public LinkTest {
protected:
    ~TelnetTest() override {
        if (host >= 0) close(host);
    }

    TelnetContext context() { return TelnetContext{loop, prompt, comm}; }

    // Connects the link to the test's own host.
    void connect(TelnetLink& link) {
        ASSERT_TRUE(link.Connect("127.0.0.1", listener.port()));
        takeHost(listener);
        ASSERT_TRUE(runUntil([&] { return link.IsOnline(); }));
    }
    // Takes the host's end of the connection into `host`. The host sends each write at once,
    // so that what a test sends arrives while the test waits.
    void takeHost(LoopbackListener& from) {
        host = from.accept(5000);
        ASSERT_GE(host, 0);
        const int noDelay = 1;
        setsockopt(host, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    }

    // The idle hook reads everything the link holds, as the session's pump would.
    void pump(TelnetLink& link) {
        loop.setIdleHook([this, &link] {
            for (int c; (c = link.ReadByte()) >= 0;)
                received += static_cast<char>(c);
            return false;
        });
    }
    // What the host has been sent, once the loop has had time to send it.
    std::string hostGot(int quietMs = 100) {
        loop.runFor(20);
        return receiveUntilQuiet(host, quietMs);
    }
    std::string lastMessage() const { return prompt.asked.empty() ? "" : prompt.asked.back().text; }

    LoopbackListener listener;
    int host = -1;
};
