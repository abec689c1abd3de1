#pragma once
// What the transfer bridge's tests share: hooks handing the session's ZMODEM requests to a
// bridge and a progress view that records what it is shown.
#include <string>
#include <vector>

#include "link/TransferBridge.h"
#include "tests/link/SessionTestSupport.h"

class BridgeHooks : public RecordingHooks {
public:
    void OnZmodemRequest(int code) override {
        RecordingHooks::OnZmodemRequest(code);
        bridge.OnZmodemRequest(code);
    }
    void OnHostImageTransfer() override {
        RecordingHooks::OnHostImageTransfer();
        bridge.OnHostImageTransfer();
    }
    TransferBridge bridge;
};

class RecordingTransferView : public TransferView {
public:
    void OpenProgress(bool sending) override { opened.push_back(sending); }
    void ShowProgress(const TransferFigures& figures) override { shown.push_back(figures); }
    void CloseProgress() override { ++closed; }
    void ShowReceivedFiles() override { ++receivedShown; }
    std::vector<bool> opened;
    std::vector<TransferFigures> shown;
    int closed = 0;
    int receivedShown = 0;
};
