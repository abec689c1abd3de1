#include "link/LinkActivityRelay.h"

#include <atomic>

struct LinkActivityRelay::State {
    std::atomic<bool> received{false};
    std::atomic<bool> sent{false};
    std::atomic<bool> posted{false};
    SessionFrame* frame;  // loop's thread only; null once the relay is gone
};

LinkActivityRelay::LinkActivityRelay(EventLoop& loop, SessionFrame& frame)
    : loop_(loop), state_(std::make_shared<State>()) {
    state_->frame = &frame;
}

LinkActivityRelay::~LinkActivityRelay() {
    state_->frame = nullptr;
}

std::function<void(LinkActivity)> LinkActivityRelay::Handler() {
    return [&loop = loop_, state = state_](LinkActivity what) {
        (what == LinkActivity::Received ? state->received : state->sent) = true;
        if (state->posted.exchange(true)) return;
        loop.post([state] {
            state->posted = false;
            const bool received = state->received.exchange(false);
            const bool sent = state->sent.exchange(false);
            if (state->frame && (received || sent)) state->frame->LinkActivity(received, sent);
        });
    };
}
