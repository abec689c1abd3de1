#pragma once
// Joins the session to the transfer engines: starts a transfer from the menu or on the host's
// ZMODEM request (one at a time, asking for files through Prompt), runs it on a worker thread
// with the session's monitor, shows its progress through the front end's view and ends it on
// the user-interface thread: hang-up when asked, the result sound and the failure message.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/CQuillonDoc.h"
#include "link/TransferMonitor.h"
#include "link/TransferProgress.h"
#include "link/TransferView.h"
#include "platform/ProcessLauncher.h"

struct TransferBridgeContext {
    CQuillonDoc& doc;
    EventLoop& loop;
    Prompt& prompt;
    Registry& registry;
    SoundPlayer& sound;
    SessionFrame& frame;
    Clock& clock = Clock::steady();
};

// The protocols a user can choose, in the dialogs' order.
const std::vector<std::string>& transferProtocols();

class TransferBridge {
public:
    static constexpr int kProgressIntervalMs = 1000;
    static constexpr int kCancelBytes = 10;      // CAN, then as many BS, refuse a ZMODEM upload
    static constexpr int kImageCancelBytes = 5;  // CAN refusing a host's picture
    // The send dialog's button that sends the files of the send box.
    static constexpr char kSendBoxButton[] = "보낼 파일함(&B)";

    ~TransferBridge() { Detach(); }
    void Attach(const TransferBridgeContext& context) { context_.emplace(context); }
    void Detach();
    // The front end's progress display; null: transfers run unseen.
    void SetView(TransferView* view) { view_ = view; }
    // Opens a media file that is still arriving (xdg-open unless a test hands in its own).
    void SetMediaOpener(std::function<void(const std::string& path)> open) {
        openMedia_ = std::move(open);
    }

    // Opens the picture of a received ".jpg" or host picture while it arrives; unset: none.
    void SetPictureOpener(PictureOpener opener) { pictureOpener_ = std::move(opener); }

    // protocol: one of transferProtocols(). automatic: the host asked (a send keeps ZMODEM).
    void StartTransfer(const std::string& protocol, bool send, bool automatic);
    void OnZmodemRequest(int code);
    void OnHostImageTransfer();

    bool Running() const { return monitor_ != nullptr; }
    // The progress display's abort button and hang-up box.
    void Abort();
    void SetHangUpAfter(bool on) { hangUpAfter_ = on; }
    bool HangUpAfter() const { return hangUpAfter_; }

private:
    struct Choice {
        std::string protocol;
        std::vector<std::string> paths;
    };
    std::optional<Choice> askSendFiles(const std::string& protocol, bool automatic);
    std::optional<std::string> askReceiveFile(const std::string& protocol);
    void refuseZmodemUpload();
    bool launch(Choice choice, bool send, bool announce);
    void showProgress();
    void recordFile(const ClosedFile& file);
    void TransferFinished(unsigned serial, int result);
    void announceEnd(int result, bool aborted);
    int commValue(const char* name, int defaultValue);

    std::shared_ptr<PostedPicture> pictureFor(const std::string& protocol, bool send,
                                              std::function<void()> cancel);

    std::optional<TransferBridgeContext> context_;
    PictureOpener pictureOpener_;
    TransferView* view_ = nullptr;
    ProcessLauncher launcher_;
    std::function<void(const std::string& path)> openMedia_ = [this](const std::string& path) {
        launcher_.openDocument(path);
    };
    std::shared_ptr<TransferMonitor> monitor_;
    std::unique_ptr<TransferProgress> progress_;
    unsigned serial_ = 0;
    int timer_ = -1;
    bool sending_ = false;
    bool announce_ = false;
    bool hangUpAfter_ = false;
};
