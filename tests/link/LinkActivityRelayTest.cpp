// The links' traffic reports reach the window's lamps on the loop's thread, gathered while the
// loop is busy, and not at all once the links are gone.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "link/LinkActivityRelay.h"
#include "platform/PollEventLoop.h"
#include "tests/fixtures/LoopWait.h"
#include "tests/link/SessionTestSupport.h"

namespace {

class LampFrame : public FakeFrame {
public:
    void LinkActivity(bool received, bool sent) override {
        calls.push_back({received, sent});
        threads.push_back(std::this_thread::get_id());
    }
    std::vector<std::pair<bool, bool>> calls;
    std::vector<std::thread::id> threads;
};

TEST(LinkActivityRelay, ReportsFromWorkerThreadsArriveGatheredOnTheLoopThread) {
    PollEventLoop loop;
    LampFrame frame;
    LinkActivityRelay relay(loop, frame);
    constexpr int kReports = 2000;
    std::vector<std::thread> workers;
    for (LinkActivity what : {LinkActivity::Received, LinkActivity::Sent})
        workers.emplace_back([handler = relay.Handler(), what] {
            for (int i = 0; i < kReports; ++i)
                handler(what);
        });
    for (std::thread& worker : workers)
        worker.join();
    ASSERT_TRUE(runLoopUntil(
        loop, [&] { return !frame.calls.empty(); }, 2000));
    loop.runFor(20);
    ASSERT_EQ(frame.calls.size(), 1u);  // every report came before the loop ran
    EXPECT_EQ(frame.calls[0], std::make_pair(true, true));
    EXPECT_EQ(frame.threads[0], std::this_thread::get_id());

    relay.Handler()(LinkActivity::Sent);  // the next report is a new burst
    ASSERT_TRUE(runLoopUntil(
        loop, [&] { return frame.calls.size() == 2; }, 2000));
    EXPECT_EQ(frame.calls[1], std::make_pair(false, true));
}

TEST(LinkActivityRelay, AReportQueuedWhenTheLinksGoReachesNobody) {
    PollEventLoop loop;
    LampFrame frame;
    auto relay = std::make_unique<LinkActivityRelay>(loop, frame);
    auto handler = relay->Handler();
    handler(LinkActivity::Received);
    relay.reset();
    handler(LinkActivity::Received);
    loop.runFor(20);
    EXPECT_TRUE(frame.calls.empty());
}

}  // namespace
