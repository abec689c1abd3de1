#pragma once
// What the serial link tests share: a profile store with the `Comm` section, the modem table,
// the loop of the user-interface thread, scripted message boxes and a pty cable. The loop's
// idle hook plays the session's pump: it reads whatever the link has into `received`.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <termios.h>

#include <filesystem>
#include <memory>
#include <string>

#include "auto/CSettingsSection.h"
#include "auto/Registry.h"
#include "link/SerialLink.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/PtyCable.h"

class SerialTest : public ::testing::Test {
protected:
    SerialTest() : dir(makeFolder()), registry(openStore(dir)), comm(*registry, "Comm") {}
    ~SerialTest() override {
        loop.setIdleHook(nullptr);
        std::filesystem::remove_all(dir);
    }

    SerialContext context(Clock& clock = Clock::steady()) {
        return SerialContext{loop, prompt, comm, modems, clock, cable.lines};
    }

    // The idle hook reads everything the link holds, as the session's pump would.
    void pump(SerialLink& link) {
        loop.setIdleHook([this, &link] {
            ++idleRuns;
            char buffer[4096];
            int n;
            while ((n = link.Read(buffer, sizeof buffer)) > 0)
                received.append(buffer, n);
            return false;
        });
    }
    // Runs the loop until `text` has been received.
    bool waitFor(const std::string& text, int timeoutMs = 5000) {
        return runUntil([&] { return received.find(text) != std::string::npos; }, timeoutMs);
    }
    template <class Condition>
    bool runUntil(Condition done, int timeoutMs = 5000) {
        const int64_t end = Clock::steady().nowMs() + timeoutMs;
        while (!done()) {
            if (Clock::steady().nowMs() > end) return false;
            loop.runFor(10);
        }
        return true;
    }
    // The slave's settings, as the far end sees them.
    termios slaveSettings() {
        termios t{};
        tcgetattr(cable.master(), &t);
        return t;
    }

    std::string dir;
    std::unique_ptr<Registry> registry;
    CSettingsSection comm;
    ModemTable modems;
    PollEventLoop loop;
    ScriptedPrompt prompt;
    PtyCable cable;
    std::string received;
    int idleRuns = 0;

private:
    static std::string makeFolder() {
        char pattern[] = "/tmp/quilite-serial-XXXXXX";
        return mkdtemp(pattern);
    }
    static std::unique_ptr<Registry> openStore(const std::string& dir) {
        Registry::Opened opened = Registry::open(dir + "/profile.db");
        EXPECT_TRUE(opened.registry) << opened.error;
        return std::move(opened.registry);
    }
};
