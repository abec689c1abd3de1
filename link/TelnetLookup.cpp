#include "link/TelnetLookup.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/TextCodec.h"

namespace {

constexpr int kNoticeDelayMs = 2000;
constexpr int kPollMs = 20;

// Where the worker leaves its answer. Shared, so that a worker still looking after the user
// cancelled writes into a mailbox nobody reads any more.
struct Mailbox {
    std::mutex lock;
    bool answered = false;
    std::optional<in_addr> address;
};

void startWorker(const std::shared_ptr<Mailbox>& box, HostResolver resolver, std::string name) {
    std::thread([box, resolver = std::move(resolver), name = std::move(name)] {
        const std::optional<in_addr> address = resolver(name);
        std::lock_guard<std::mutex> lock(box->lock);
        box->address = address;
        box->answered = true;
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

// The loop keeps running while the worker looks, and the answer is looked for every few
// milliseconds. Inside a wait that is already running on this thread (runFor answers Nested)
// only the polling is left. A closing program counts as a cancel.
LookupResult lookUpHost(const std::string& name, const HostResolver& resolver, EventLoop& loop,
                        Prompt& prompt) {
    LookupResult result;
    if (inet_pton(AF_INET, name.c_str(), &result.address) == 1) {
        result.end = LookupEnd::Found;
        return result;
    }
    auto box = std::make_shared<Mailbox>();
    startWorker(box, resolver, name);
    const std::unique_ptr<WaitNotice> notice =
        prompt.beginWait(cp949ToUtf8Lossy(name) + "의\nIP 주소를 찾고 있습니다.", kNoticeDelayMs);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(box->lock);
            if (box->answered) {
                result.end = box->address ? LookupEnd::Found : LookupEnd::NotFound;
                if (box->address) result.address = *box->address;
                return result;
            }
        }
        const WaitEnd end = notice->cancelled() ? WaitEnd::CloseRequested : loop.runFor(kPollMs);
        if (end == WaitEnd::CloseRequested) break;
        if (end == WaitEnd::Nested) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    result.end = LookupEnd::Cancelled;
    return result;
}
