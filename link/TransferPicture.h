#pragma once
// The picture shown while a received file arrives (a ZMODEM picture receive, or a ".jpg" with
// "ZmodemImage" on). The monitor tells it from the transfer thread; every notice is posted to
// the user-interface thread and the transfer thread never waits for it, so closing the picture
// while the file arrives cannot deadlock.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/EventLoop.h"

// The front end's picture of one file. User-interface thread only.
class PictureShow {
public:
    virtual ~PictureShow() = default;
    virtual void Grown(uint64_t size) = 0;  // the file has this many bytes now
    virtual void Reload() = 0;              // it is received again from its start
    virtual void Ended() = 0;               // the transfer closed it
};

// Opens the picture of a file being received; cancel stops the transfer. Null: none is shown.
using PictureOpener = std::function<std::unique_ptr<PictureShow>(const std::string& path,
                                                                 std::function<void()> cancel)>;

// The monitor's side: called on the transfer thread, posts to the loop.
class PostedPicture {
public:
    PostedPicture(EventLoop& loop, PictureOpener opener, std::function<void()> cancel);
    void Open(const std::string& path);
    // Posted only when a new kilobyte is complete: the picture reads whole kilobytes.
    void Grown(uint64_t size);
    void Reload();
    void Ended();

private:
    struct Shown {
        PictureOpener opener;
        std::function<void()> cancel;
        std::unique_ptr<PictureShow> show;
    };
    void post(std::function<void(Shown&)> step);

    EventLoop& loop_;
    std::shared_ptr<Shown> shown_;
    uint64_t lastKilobytes_ = 0;
};
