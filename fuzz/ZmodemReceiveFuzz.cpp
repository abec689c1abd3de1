// The ZMODEM receiver (and its picture variant) against arbitrary senders. The first byte
// chooses the variant and whether the line hangs up once the input is read.
#include "fuzz/ReceiverRun.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    ReceiverRun run;
    run.protocol = data[0] & 1 ? "ZIMAGE" : "ZMODEM";
    run.hangUpAtEnd = !(data[0] & 2);
    runReceiver(run, data + 1, size - 1);
    return 0;
}
