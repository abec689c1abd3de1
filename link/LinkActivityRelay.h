#pragma once
// Carries the links' traffic reports to the window (SessionFrame::LinkActivity) on the loop's
// thread. A report may come from the loop's thread, the serial reader or a transfer worker; it
// only sets a flag, and one task is posted for all the reports made until that task runs.
#include <functional>
#include <memory>

#include "link/LinkActivity.h"
#include "link/SessionFrame.h"
#include "platform/EventLoop.h"

class LinkActivityRelay {
public:
    LinkActivityRelay(EventLoop& loop, SessionFrame& frame);
    // Tasks still queued then reach nobody.
    ~LinkActivityRelay();
    LinkActivityRelay(const LinkActivityRelay&) = delete;
    LinkActivityRelay& operator=(const LinkActivityRelay&) = delete;

    // For a link's SetActivityHandler; callable from any thread.
    std::function<void(LinkActivity)> Handler();

private:
    struct State;
    EventLoop& loop_;
    std::shared_ptr<State> state_;
};
