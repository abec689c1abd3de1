#pragma once
// What the link tests share: a profile store with the `Comm` section in a folder of its own,
// the loop of the user-interface thread, scripted message boxes, and the bytes the pump (the
// loop's idle hook, set by each kind of test) has read into `received`.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <future>
#include <memory>
#include <string>

#include "auto/CSettingsSection.h"
#include "auto/Registry.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/LoopWait.h"
#include "xfer/GFTransfer.h"

class LinkTest : public ::testing::Test {
protected:
    LinkTest() : dir(makeFolder()), registry(openStore(dir)), comm(*registry, "Comm") {}
    ~LinkTest() override {
        loop.setIdleHook(nullptr);
        std::filesystem::remove_all(dir);
    }

    // Runs the loop until `text` has been received.
    bool waitFor(const std::string& text, int timeoutMs = 5000) {
        return runUntil([&] { return received.find(text) != std::string::npos; }, timeoutMs);
    }
    // Runs a ZMODEM engine over the link on a transfer thread while this thread keeps the loop
    // going, as the session does; the engine's result.
    int runZmodem(GFComLink& link, GFMonitor& monitor, bool send, const std::string& files) {
        std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject("ZMODEM", &link, &monitor));
        auto result = std::async(std::launch::async, [&] {
            const int r = send ? engine->SendFile(files.c_str()) : engine->ReceiveFile(nullptr);
            engine.reset();
            return r;
        });
        const int64_t end = Clock::steady().nowMs() + 120000;
        while (result.wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
               Clock::steady().nowMs() < end)
            loop.runFor(20);
        return result.get();
    }
    // The pump reads the link until `marker` (empty: for ever) ends what it has received. A pump
    // that stopped short is started again, as the session does when it reads once more; one
    // that stops leaves the link to a transfer engine.
    void pumpUntil(GFComLink& link, const std::string& marker) {
        loop.setIdleHook([this, &link, marker] {
            for (int c;
                 (marker.empty() || !received.ends_with(marker)) && (c = link.ReadByte()) >= 0;)
                received += static_cast<char>(c);
            return false;
        });
        loop.kickIdle();
    }
    template <class Condition>
    bool runUntil(Condition done, int timeoutMs = 5000) {
        return runLoopUntil(loop, done, timeoutMs);
    }

    std::string dir;
    std::unique_ptr<Registry> registry;
    CSettingsSection comm;
    PollEventLoop loop;
    ScriptedPrompt prompt;
    std::string received;

private:
    static std::string makeFolder() {
        char pattern[] = "/tmp/quilite-link-XXXXXX";
        return mkdtemp(pattern);
    }
    static std::unique_ptr<Registry> openStore(const std::string& dir) {
        Registry::Opened opened = Registry::open(dir + "/profile.db");
        EXPECT_TRUE(opened.registry) << opened.error;
        return std::move(opened.registry);
    }
};
