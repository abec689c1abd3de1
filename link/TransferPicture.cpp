#include "link/TransferPicture.h"

PostedPicture::PostedPicture(EventLoop& loop, PictureOpener opener, std::function<void()> cancel)
    : loop_(loop),
      shown_(std::make_shared<Shown>(Shown{std::move(opener), std::move(cancel), {}})) {}

void PostedPicture::post(std::function<void(Shown&)> step) {
    loop_.post([shown = shown_, step = std::move(step)] { step(*shown); });
}

void PostedPicture::Open(const std::string& path) {
    lastKilobytes_ = 0;
    post([path](Shown& s) { s.show = s.opener(path, s.cancel); });
}

void PostedPicture::Grown(uint64_t size) {
    if (size / 1024 == lastKilobytes_) return;
    lastKilobytes_ = size / 1024;
    post([size](Shown& s) {
        if (s.show) s.show->Grown(size);
    });
}

void PostedPicture::Reload() {
    lastKilobytes_ = 0;
    post([](Shown& s) {
        if (s.show) s.show->Reload();
    });
}

void PostedPicture::Ended() {
    post([](Shown& s) {
        if (s.show) s.show->Ended();
        s.show.reset();
    });
}
