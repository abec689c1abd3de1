#pragma once
// A fresh profile store in a temporary folder, with the XDG folders pointed inside it too.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "auto/Registry.h"
#include "platform/TextCodec.h"

class TempProfile : public ::testing::Test {
protected:
    // Set up in the constructor, so that members of derived fixtures can use the store.
    TempProfile() {
        char pattern[] = "/tmp/quilite-profile-XXXXXX";
        dir = mkdtemp(pattern);
        setenv("HOME", dir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
        setenv("XDG_DOWNLOAD_DIR", (dir + "/Downloads").c_str(), 1);
        dbPath = dir + "/profile.db";
        registry = openStore();
    }
    ~TempProfile() override {
        registry.reset();
        std::filesystem::remove_all(dir);
    }

    std::unique_ptr<Registry> openStore(int busyTimeoutMs = 10000) {
        Registry::Opened opened = Registry::open(dbPath, busyTimeoutMs);
        EXPECT_TRUE(opened.registry) << opened.error;
        return std::move(opened.registry);
    }

    static std::string cp(const std::string& utf8) { return utf8ToCp949(utf8).value(); }

    std::string dir;
    std::string dbPath;
    std::unique_ptr<Registry> registry;
};
