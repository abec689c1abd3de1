#pragma once
// One run of a receiving transfer engine for the fuzz targets: the input arrives over a memory
// link, time passes on a fake clock so that every time-out costs nothing, and received files go
// to a temporary folder that is emptied afterwards.
#include <cstddef>
#include <cstdint>
#include <string>

struct ReceiverRun {
    const char* protocol = "ZMODEM";
    int transferType = -1;         // the monitor's transfer type; -1 keeps the engine's own
    const char* target = nullptr;  // the file name for protocols that carry none
    bool hangUpAtEnd = true;       // the link goes offline once its input is read
};

// Runs the engine over the bytes; its result code.
int runReceiver(const ReceiverRun& run, const uint8_t* data, size_t size);
