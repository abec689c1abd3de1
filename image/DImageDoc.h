#pragma once
// A picture sent inline in the terminal stream. Opened when the host starts one, the document
// takes the link (set mode 1), answers the host's packets, decodes the picture while it comes
// and keeps it in a private temporary file, and gives the link back (set mode 0) when the
// transfer ends. The host pumps it from its idle passes. User-interface thread only.
#include <string>
#include <vector>

#include "image/DImagePackets.h"
#include "image/ImageDoc.h"
#include "image/VNImage.h"

class DImageDoc : public ImageDoc {
public:
    enum State { kWaitStart = 1, kReceiving = 2, kEnded = 3, kCancelled = 4, kFinished = 5 };
    // Silence that cancels a transfer waiting for packets, as the user would.
    static constexpr int kStallCancelMs = 60000;
    // Silence after a cancel that finishes as the awaited CR would.
    static constexpr int kCancelWaitMs = 5000;
    static constexpr int kPumpLimitMs = 90;
    static constexpr int kBadPacketLimit = 2;

    // chollianImage: the `Comm` setting "ChollianImage"; false cancels at once. tempFolder:
    // where the picture's file is made.
    DImageDoc(const VNImageHooks& hooks, Clock& clock, bool chollianImage,
              const std::string& tempFolder);
    // Abandoned before it finished: the abort string goes to the host and the link comes back.
    // The temporary file is removed.
    ~DImageDoc() override;

    // One pass: the stop query, then the bytes waiting, for limitMs at most, through the parser.
    // True when the time ran out with bytes perhaps still waiting.
    bool Pump(int limitMs = kPumpLimitMs);
    void Cancel();

    bool TransferRunning() const override { return state_ != kFinished; }
    void CancelTransfer() override { Cancel(); }
    int State() const { return state_; }
    // Every state the document has been in, in order.
    const std::vector<int>& StateHistory() const { return states_; }
    int BadPackets() const { return badPackets_; }
    // The start packet's place, in pixels; (-1, -1) before it.
    int WindowX() const { return windowX_; }
    int WindowY() const { return windowY_; }

private:
    void setState(int state);
    void handleByte(uint8_t byte);
    void handlePacket(const DImagePacket& packet);
    void startPicture(const DImagePacket& packet);
    void storeData(const DImagePacket& packet);
    void answer(char type);
    void checkSilence();
    void finish();
    void openTempFile(const std::string& folder);

    const VNImageHooks& hooks_;
    std::string tempFolder_;
    DImagePacketParser parser_;
    int state_ = kWaitStart;
    std::vector<int> states_{kWaitStart};
    int badPackets_ = 0;
    bool cancelled_ = false;
    bool holdsLink_ = false;
    int64_t lastByteMs_ = 0;
    int fd_ = -1;
    int windowX_ = -1, windowY_ = -1;
};
