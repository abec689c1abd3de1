#pragma once
// ZMODEM transfers of the demo host over a client's link, by the vnxyz engines: a download of
// one file, or an upload of a batch into the host's private upload folder. A transfer ends
// after 60 s without progress, when the client hangs up or when the host stops; an upload
// stops at 8 MiB a file and 32 MiB for the whole run of the host.
#include <atomic>
#include <cstdint>
#include <string>

#include "xfer/GFComLink.h"

struct DemoHostState;

constexpr int64_t kUploadFileLimit = 8 << 20;
constexpr int64_t kUploadRunLimit = 32 << 20;

// 0 when the transfer ended well, else the engine's negative code.
int SendDemoFile(GFComLink& link, DemoHostState& host, const std::string& path);
int ReceiveDemoFiles(GFComLink& link, DemoHostState& host);
