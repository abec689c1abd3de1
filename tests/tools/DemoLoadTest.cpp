// quilite-demohost under abuse, all at once for 10 s: more connections than it takes, sessions
// of random bytes, a chat reader that never reads while others talk, an unterminated telnet
// subnegotiation and a 1 MiB line. It stays small, and a new user still logs in; odd IDs log in
// under the ID rule.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "tests/fixtures/LoopbackListener.h"
#include "tests/tools/DemoHostProcess.h"

namespace fs = std::filesystem;

namespace {

// The host's own limit; AddressSanitizer's shadow memory and allocator bookkeeping, which are
// not the host's, about triple what a process holds.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kRssLimitKiB = 3 * 64 * 1024;
#else
constexpr long kRssLimitKiB = 64 * 1024;
#endif

class DemoLoad : public DemoHostTestBase {};

TEST_F(DemoLoad, StaysSmallAndStillServes) {
    // 40 connections at once: 32 are served, the rest told the host is busy.
    std::vector<int> crowd;
    int served = 0, busy = 0;
    for (int i = 0; i < 40; ++i)
        crowd.push_back(connectLoopback(host.port()));
    for (int fd : crowd) {
        std::string seen;
        receiveUntil(fd, "login: ", seen, 5000);
        served += seen.find("login: ") != std::string::npos;
        busy += seen.find(cp949("접속자가 너무 많습니다")) != std::string::npos;
    }
    for (int fd : crowd)
        close(fd);
    EXPECT_EQ(served, 32);
    EXPECT_EQ(busy, 8);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    std::atomic<bool> stop{false};
    long peakKiB = 0;
    std::thread sampler([&] {
        while (!stop) {
            peakKiB = std::max(peakKiB, host.residentKiB());
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    std::vector<std::thread> noise;
    for (unsigned i = 0; i < 20; ++i)
        noise.emplace_back(sendNoise, host.port(), i + 1, std::cref(stop));

    // A reader that never reads, in a room where two others talk as fast as they may.
    const int deaf = host.logIn("deafuser", "pw");
    ASSERT_GE(deaf, 0);
    ASSERT_TRUE(sendAll(deaf, "go chat\r"));
    std::vector<std::thread> talkers;
    for (const char* id : {"talker1", "talker2"}) {
        talkers.emplace_back([&, id] {
            const int fd = host.logIn(id, "pw");
            sendAll(fd, "go chat\r");
            while (!stop && fd >= 0) {
                sendAll(fd, std::string(150, 'w') + "\r");
                receiveUntilQuiet(fd, 1);
            }
            if (fd >= 0) close(fd);
        });
    }
    // An unterminated subnegotiation and a 1 MiB line.
    const int sb = host.connectToLogin();
    ASSERT_TRUE(sendAll(sb, std::string("\xff\xfa\x18") + std::string(1 << 20, 'q')));
    const int longLine = host.logIn("longline", "pw");
    ASSERT_TRUE(sendAll(longLine, std::string(1 << 20, 'L') + "\r"));
    std::string answer;
    EXPECT_TRUE(receiveUntil(longLine, demoMenuPrompt(), answer, 10000));

    std::this_thread::sleep_for(std::chrono::seconds(10));
    // Under all of it a new user logs in and the menu answers.
    std::string seen;
    const int fresh = host.logIn("newuser", "pw", &seen);
    EXPECT_GE(fresh, 0);
    EXPECT_NE(exchange(fresh, "go art\r", demoMenuPrompt()).find(cp949("그림 (ART)")),
              std::string::npos);
    stop = true;
    for (std::thread& t : noise)
        t.join();
    for (std::thread& t : talkers)
        t.join();
    sampler.join();
    std::printf("peak resident size of the host: %ld KiB\n", peakKiB);
    EXPECT_GT(peakKiB, 0);
    EXPECT_LT(peakKiB, kRssLimitKiB);
    for (int fd : {deaf, sb, longLine, fresh})
        close(fd);
}

TEST_F(DemoLoad, OddIdsLogInUnderTheIdRule) {
    struct Case {
        std::string typed;
        std::string shown;
    } cases[] = {
        {std::string("\x01\x02\x07", 3) + "ab", "guest"},
        {cp949("한글아이디"), "guest"},
        {std::string(200, 'Z'), "zzzzzzzz"},
    };
    for (const Case& c : cases) {
        std::string seen;
        const int fd = host.logIn(c.typed, "pw", &seen);
        ASSERT_GE(fd, 0) << c.typed;
        const size_t at = seen.find(cp949(" 님, 어서 오십시오."));
        ASSERT_NE(at, std::string::npos);
        const std::string shown = seen.substr(seen.rfind("\x1b[1;32m", at) + 7);
        EXPECT_EQ(shown.substr(0, shown.find('\x1b')).rfind(c.shown, 0), 0u) << shown;
        close(fd);
    }
}

}  // namespace
