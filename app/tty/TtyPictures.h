#pragma once
// Pictures sent inline while the session runs in the terminal: without a window, each is
// received into the download folder and named on the status line.
#include <functional>
#include <memory>
#include <string>

#include "auto/Registry.h"
#include "link/SessionPictures.h"
#include "platform/EventLoop.h"

class TtyPictures : public PictureFront, private ImageDocObserver {
public:
    // status: shows a line on the status line.
    TtyPictures(EventLoop& loop, Registry& registry, std::function<void(const std::string&)> status)
        : loop_(loop), registry_(registry), status_(std::move(status)) {}

    void OpenDImage(std::unique_ptr<DImageDoc> doc) override;
    // The received picture's place in folder: "picture-<date>-<time>" with the format's extension.
    static std::string KeptName(const std::string& folder, const std::string& receivedPath);

private:
    void OnTransferEnded() override;

    EventLoop& loop_;
    Registry& registry_;
    std::function<void(const std::string&)> status_;
    std::unique_ptr<DImageDoc> doc_;
};
