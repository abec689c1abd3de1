#pragma once
// What every connection of the demo host shares: the played service's words, the files folders,
// the run's upload total, the chat room and the stop request.
#include <atomic>
#include <cstdint>
#include <string>

#include "tools/demohost/ChatRoom.h"
#include "tools/demohost/ServiceWords.h"

struct DemoHostState {
    ServiceWords words;
    std::string filesFolder;   // offered for download
    std::string uploadFolder;  // private; uploads land here
    std::atomic<bool> stopping{false};
    std::atomic<int64_t> uploadedBytes{0};
    ChatRoom room;
};
