#include "image/gui/ImageTemplates.h"

#include "image/ZImageDoc.h"
#include "image/gui/ImageHost.h"

namespace {

std::vector<QPointer<CImageFrame>> dimageFrames, zimageFrames;
int zimageCount = 0;
int zimageColumn = 0, zimageRow = 0;

std::vector<CImageFrame*> openFrames(std::vector<QPointer<CImageFrame>>& list) {
    std::vector<CImageFrame*> open;
    for (const QPointer<CImageFrame>& frame : list)
        if (frame) open.push_back(frame);
    list.assign(open.begin(), open.end());
    return open;
}

void destroyFrames(std::vector<QPointer<CImageFrame>>& list) {
    for (CImageFrame* frame : openFrames(list))
        frame->CloseWithoutQuestion();
}

}  // namespace

CImageFrame* DImageDocTemplate::OpenDocument(std::unique_ptr<DImageDoc> doc) {
    auto* frame = new CImageFrame(std::move(doc), "DImageFrame", true);
    dimageFrames.emplace_back(frame);
    frame->PlaceAt(QPoint(0, 0));
    frame->show();
    return frame;
}

void DImageDocTemplate::DestroyPopup() {
    destroyFrames(dimageFrames);
}

std::vector<CImageFrame*> DImageDocTemplate::Frames() {
    return openFrames(dimageFrames);
}

ZImageDocTemplate::ZImageDocTemplate(int column, int row) {
    zimageColumn = column;
    zimageRow = row;
}

CImageFrame* ZImageDocTemplate::OpenDocument(const std::string& path,
                                             std::function<void()> cancel) {
    auto doc = std::make_unique<ZImageDoc>(path, Clock::steady());
    doc->SetCancelHandler(std::move(cancel));
    ++zimageCount;
    auto* frame = new CImageFrame(std::move(doc), "ZImageFrame", true);
    zimageFrames.emplace_back(frame);
    frame->PlaceAt(QPoint(zimageColumn * 8, zimageRow * 16 + 2));
    frame->show();
    return frame;
}

void ZImageDocTemplate::DestroyPopup() {
    destroyFrames(zimageFrames);
}

std::vector<CImageFrame*> ZImageDocTemplate::Frames() {
    return openFrames(zimageFrames);
}

int ZImageDocTemplate::Count() {
    return zimageCount;
}

CImageFrame* ZFileDocTemplate::OpenDocument(const std::string& path) {
    auto* frame =
        new CImageFrame(std::make_unique<ZFileDoc>(path, Clock::steady()), "ZFileFrame", false);
    frame->show();
    return frame;
}
