#include "baduk/BoardSaving.h"

#include <optional>

#include "baduk/BadukDoc.h"
#include "baduk/BoardPainter.h"
#include "baduk/MgtRecord.h"
#include "image/DibFile.h"

namespace {

std::optional<std::string> askSaveName(Prompt& prompt, const std::string& folder,
                                       const char* extension, const char* filter) {
    FileRequest request;
    request.kind = FileDialogKind::Save;
    request.folder = folder;
    request.defaultExtension = extension;
    request.filter = filter;
    FileReply reply = prompt.askFile(request);
    if (reply.answer != FileAnswer::Accepted || reply.paths.empty()) return std::nullopt;
    return reply.paths.front();
}

}  // namespace

bool AskAndSaveRecord(Prompt& prompt, const std::string& folder, const CBadukDoc& doc) {
    std::optional<std::string> path =
        askSaveName(prompt, folder, "MGT", "MGT 파일 (*.MGT)|*.MGT||");
    if (!path) return false;
    std::string error = SaveMgt(*path, doc.Moves());
    if (error.empty()) return true;
    prompt.tell(error, PromptIcon::Error);
    return false;
}

bool AskAndSavePicture(Prompt& prompt, const std::string& folder, BoardPainter& painter,
                       const CBadukDoc& doc, bool numbering) {
    std::optional<std::string> path =
        askSaveName(prompt, folder, "bmp", "비트맵 파일 (*.bmp)|*.bmp||");
    if (!path) return false;
    HDIB dib = painter.PictureDIB(doc, numbering);
    bool saved = SaveDIB(dib, *path) == kSaveOk;
    DestroyDIB(dib);
    if (!saved) prompt.tell(kPictureSaveFailed, PromptIcon::Error);
    return saved;
}
