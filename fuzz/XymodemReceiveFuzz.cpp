// The XMODEM and YMODEM receivers against arbitrary senders. The first byte chooses the engine,
// the variant (block size, check, streaming) and whether the line hangs up once the input is
// read.
#include "fuzz/ReceiverRun.h"
#include "xfer/GFMonitor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    ReceiverRun run;
    run.transferType = (data[0] & 7) % (GF_TYPE_YMODEM_G + 1);
    run.protocol = data[0] & 8 ? "YMODEM" : "XMODEM";
    run.target = "received";
    run.hangUpAtEnd = !(data[0] & 16);
    runReceiver(run, data + 1, size - 1);
    return 0;
}
