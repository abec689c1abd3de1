#include "link/SessionPictures.h"

#include <filesystem>

#include "auto/CSettingsSection.h"

void SessionPictures::Attach(CQuillonDoc& doc, EventLoop& loop, Registry& registry, Prompt& prompt,
                             PictureFront& front) {
    doc_ = &doc;
    loop_ = &loop;
    registry_ = &registry;
    front_ = &front;
    prompt_ = &prompt;
    const VNImageHooks hooks{
        [this] { return doc_ && doc_->Link() ? doc_->Link()->ReadByte() : -1; },
        [this](int byte) {
            if (doc_) doc_->SendRawByte(static_cast<uint8_t>(byte));
        },
        [this](int mode) { setMode(mode); },
        [this](const DImageDoc&) { return doc_ ? doc_->LinkBusy() : 2; }};
    VNImageInit(&hooks, prompt);
}

void SessionPictures::Detach() {
    // Documents still open keep the library's hooks: from now on they reach nothing.
    if (prompt_) {
        const VNImageHooks inert{[] { return -1; }, [](int) {}, [](int) {},
                                 [](const DImageDoc&) { return 2; }};
        VNImageInit(&inert, *prompt_);
    }
    prompt_ = nullptr;
    if (timer_ >= 0 && loop_) loop_->removeTimer(timer_);
    timer_ = -1;
    if (doc_) doc_->SetPicturePump(nullptr);
    active_ = nullptr;
    doc_ = nullptr;
    front_ = nullptr;
}

void SessionPictures::OnImageStart() {
    const VNImageHooks* hooks = VNImageHooksInUse();
    if (!doc_ || !hooks || active_ || doc_->TransferActive() || !doc_->LinkOpen()) return;
    const bool chollianImage = CSettingsSection(*registry_, "Comm").GetInt("ChollianImage", 1) != 0;
    auto picture = std::make_unique<DImageDoc>(*hooks, Clock::steady(), chollianImage,
                                               std::filesystem::temp_directory_path().string());
    if (picture->State() != DImageDoc::kFinished) active_ = picture.get();
    front_->OpenDImage(std::move(picture));
    loop_->kickIdle();
}

void SessionPictures::OnImageEnd() {
    if (doc_) doc_->StopPicture();
    if (front_) front_->DestroyPopups();
}

void SessionPictures::OnScreenCleared() {
    if (front_) front_->DestroyPopups();
}

// The document takes the link with 1 and gives it back with 0 (finished or gone).
void SessionPictures::setMode(int mode) {
    if (!doc_) return;
    doc_->SetLinkBusy(mode);
    if (mode != 0) {
        doc_->SetPicturePump([this] { return pump(); });
        if (timer_ < 0)
            timer_ = loop_->addTimer(kQuietCheckMs, true, [this] { loop_->kickIdle(); });
        return;
    }
    active_ = nullptr;
    doc_->SetPicturePump(nullptr);
    if (timer_ >= 0) loop_->removeTimer(timer_);
    timer_ = -1;
    loop_->kickIdle();
}

bool SessionPictures::pump() {
    if (!active_) return false;
    return active_->Pump();
}
