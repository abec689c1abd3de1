#pragma once
// A dial through the connector program: it is started with "-p<fd>", fd being its end of a
// socket pair, and reports on it in lines "1136 W L": "1136 0 x" (it is ready for our
// answers), "1136 1 1" (connected: we answer "1234 0 0") and "1136 1 0" or "1136 1 2" (failed
// or cancelled). A connector that ends, or closes its end, without reporting has failed.
#include <functional>
#include <string>

#include "platform/EventLoop.h"
#include "platform/ProcessLauncher.h"

class ConnectorDial {
public:
    enum class Outcome { Connected, Failed, Gone };
    using Done = std::function<void(Outcome)>;

    ConnectorDial(EventLoop& loop, ProcessLauncher& launcher) : loop_(loop), launcher_(launcher) {}
    ~ConnectorDial() { stop(); }
    ConnectorDial(const ConnectorDial&) = delete;
    ConnectorDial& operator=(const ConnectorDial&) = delete;

    // Starts the program; done is called once, later, from the event loop (Gone when the
    // program could not be started).
    void start(const std::string& program, Done done);
    // Gives up waiting: done reports Gone.
    void cancel() { finish(Outcome::Gone); }

private:
    void onReadable();
    void onLine(const std::string& line);
    void finish(Outcome outcome);
    void stop();

    EventLoop& loop_;
    ProcessLauncher& launcher_;
    int fd_ = -1;
    int pid_ = -1;
    int watch_ = -1;
    int exitTimer_ = -1;
    std::string pending_;  // a report line not yet complete
    Done done_;
};
