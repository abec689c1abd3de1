#pragma once
// ASCII transfer: sends text files as plain bytes, a line at a time with a pause after each,
// and captures incoming bytes into a file until the line goes quiet. What the other side
// sends meanwhile goes to the monitor's AsciiPrinter.
#include "xfer/GFProtocol.h"

class GFTranstxt : public GFProtocol {
public:
    GFTranstxt(GFComLink* link, GFMonitor* monitor);

    int SendFile(const char* files) override;
    // path: the file to write.
    int ReceiveFile(const char* path) override;

private:
    // A capture keeps what came, however it ended.
    bool keepsPartialFiles() const override { return true; }
    void runSender();
    // Reads the next line of the open file into the work buffer; its length, 0 at the end.
    int readLine();
    bool sendLine(int length);
    // Hands the bytes waiting on the link to AsciiPrinter; false when an abort check fires.
    bool showInput();
    bool pauseAfterLine();

    void runReceiver();
    bool takeInput();

    int idleTimeoutMs_ = 10000;
    int linePauseMs_ = 100;
};
