#include "app/gui/GuiPictures.h"

#include <QPointer>

#include "image/ZImageDoc.h"
#include "image/gui/ImageTemplates.h"

namespace {

// A ZImage window fed by the transfer's notices; a window the user closed hears nothing more.
class ZImageShow : public PictureShow {
public:
    explicit ZImageShow(CImageFrame* frame) : frame_(frame) {}
    void Grown(uint64_t size) override {
        if (ZImageDoc* doc = document()) doc->SetPos(static_cast<int64_t>(size));
    }
    void Reload() override {
        if (ZImageDoc* doc = document()) doc->Reload();
    }
    void Ended() override {
        if (ZImageDoc* doc = document()) doc->End();
    }

private:
    ZImageDoc* document() {
        return frame_ ? static_cast<ZImageDoc*>(&frame_->Document()) : nullptr;
    }
    QPointer<CImageFrame> frame_;
};

}  // namespace

void GuiPictures::OpenDImage(std::unique_ptr<DImageDoc> doc) {
    DImageDocTemplate::OpenDocument(std::move(doc));
}

void GuiPictures::DestroyPopups() {
    DImageDocTemplate::DestroyPopup();
    ZImageDocTemplate::DestroyPopup();
}

PictureOpener GuiPictures::ZImageOpener(const TWView& view) {
    return [&view](const std::string& path, std::function<void()> cancel) {
        const TWPoint cell = view.Cursor();
        ZImageDocTemplate place(cell.x, cell.y);
        return std::make_unique<ZImageShow>(place.OpenDocument(path, std::move(cancel)));
    };
}
