#include "link/TelnetLookup.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/TextCodec.h"

namespace {

constexpr int kNoticeDelayMs = 2000;
// How often the notice is asked whether the user cancelled; the answer itself ends the wait.
constexpr int kCancelCheckMs = 100;

// Where the answer arrives. Shared with the worker, which may still be looking after the user
// cancelled: it then finds the lookup over and hands nothing to the loop.
struct Mailbox {
    std::mutex lock;
    std::condition_variable answeredSignal;
    EventLoop* loop = nullptr;  // null once the lookup is over
    bool answered = false;
    std::optional<in_addr> address;
};

// The worker posts its answer to the loop, which wakes the wait. The mailbox also takes it at
// once, for a lookup inside a wait that is already running, where the loop does not turn.
void startWorker(const std::shared_ptr<Mailbox>& box, HostResolver resolver, std::string name) {
    std::thread([box, resolver = std::move(resolver), name = std::move(name)] {
        const std::optional<in_addr> address = resolver(name);
        std::lock_guard<std::mutex> lock(box->lock);
        if (!box->loop) return;
        box->address = address;
        box->answered = true;
        box->answeredSignal.notify_all();
        box->loop->post([box] {
            std::lock_guard<std::mutex> lock(box->lock);
            if (box->loop) box->loop->interruptWait();
        });
    }).detach();
}

}  // namespace

std::optional<in_addr> resolveHost(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
    const in_addr address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return address;
}

// The loop keeps running while the worker looks; its answer ends the wait. Inside a wait that
// is already running on this thread (runFor answers Nested) the mailbox is waited on instead.
// A closing program counts as a cancel.
LookupResult lookUpHost(const std::string& name, const HostResolver& resolver, EventLoop& loop,
                        Prompt& prompt) {
    LookupResult result;
    if (inet_pton(AF_INET, name.c_str(), &result.address) == 1) {
        result.end = LookupEnd::Found;
        return result;
    }
    auto box = std::make_shared<Mailbox>();
    box->loop = &loop;
    startWorker(box, resolver, name);
    const std::unique_ptr<WaitNotice> notice =
        prompt.beginWait(cp949ToUtf8Lossy(name) + "의\nIP 주소를 찾고 있습니다.", kNoticeDelayMs);
    result.end = LookupEnd::Cancelled;
    for (;;) {
        const WaitEnd end =
            notice->cancelled() ? WaitEnd::CloseRequested : loop.runFor(kCancelCheckMs);
        std::unique_lock<std::mutex> lock(box->lock);
        if (end == WaitEnd::Nested)
            box->answeredSignal.wait_for(lock, std::chrono::milliseconds(kCancelCheckMs),
                                         [&] { return box->answered; });
        if (box->answered) {
            result.end = box->address ? LookupEnd::Found : LookupEnd::NotFound;
            if (box->address) result.address = *box->address;
        }
        if (box->answered || end == WaitEnd::CloseRequested) {
            box->loop = nullptr;
            return result;
        }
    }
}
