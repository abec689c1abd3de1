#include "app/gui/PathDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "auto/Folders.h"

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

std::unique_ptr<PathListDialog> MakeFolderSettingsDialog(Registry& registry, Prompt& prompt,
                                                         ProcessLauncher& launcher,
                                                         QWidget* parent) {
    auto dialog = std::make_unique<PathListDialog>(
        "폴더 설정", "  폴더\t위치", LoadUserFolders(registry),
        [&registry](const auto& loaded, const auto& chosen) {
            return StoreUserFolders(registry, loaded, chosen);
        },
        prompt, parent);
    PathListDialog* d = dialog.get();
    d->AddRowButton("찾아보기(&B)...", [d](int row) {
        const QString folder =
            QFileDialog::getExistingDirectory(d, text(d->Chosen()[row].name), text(d->Path(row)));
        if (!folder.isEmpty()) d->SetPath(row, folder.toStdString());
    });
    d->AddRowButton("폴더 열기(&O)",
                    [d, &launcher](int row) { launcher.openDocument(d->Path(row)); });
    return dialog;
}

std::unique_ptr<PathListDialog> MakeSoundSettingsDialog(Registry& registry, Prompt& prompt,
                                                        QWidget* parent) {
    auto dialog = std::make_unique<PathListDialog>(
        "소리 설정", "  이름\t소리 파일", LoadEventSounds(registry),
        [&registry](const auto& loaded, const auto& chosen) {
            return StoreEventSounds(registry, loaded, chosen);
        },
        prompt, parent);
    PathListDialog* d = dialog.get();
    d->AddRowButton("찾아보기(&B)...", [d, &registry](int row) {
        const QString start = d->Path(row).empty() ? text(GetFolder(registry, FolderKind::Media))
                                                   : QFileInfo(text(d->Path(row))).path();
        const QString file =
            QFileDialog::getOpenFileName(d, "소리 파일 찾기", start, "소리 파일 (*.wav *.WAV)");
        if (!file.isEmpty()) d->SetPath(row, file.toStdString());
    });
    d->AddRowButton("소리 없음(&N)", [d](int row) { d->SetPath(row, ""); });
    return dialog;
}
