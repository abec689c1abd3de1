#include "app/gui/FileManagerSheet.h"

#include <sys/stat.h>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <set>

#include "app/gui/CMainFrame.h"
#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"
#include "auto/FileListRows.h"
#include "auto/FileRecords.h"
#include "auto/Folders.h"

namespace {

// The size and transfer-share columns are right-aligned.
QTreeWidgetItem* rowItem(const std::vector<std::string>& cells, bool withShare) {
    auto* item = new QTreeWidgetItem;
    for (size_t i = 0; i < cells.size(); ++i)
        item->setText(static_cast<int>(i), QString::fromStdString(cells[i]));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    if (withShare) item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QTreeWidget* reportList(const std::vector<std::string>& headers) {
    auto* list = named(new QTreeWidget, "files");
    QStringList labels;
    for (const std::string& header : headers)
        labels << QString::fromStdString(header);
    list->setHeaderLabels(labels);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->setMinimumSize(480, 240);
    return list;
}

const char* pageCaption(int kind) {
    if (kind == RecordKind::ReceivedFile) return "받은 파일";
    if (kind == RecordKind::SentFile) return "보낸 파일";
    return "갈무리 파일";
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// A page

FileManagerPage::FileManagerPage(int kind, Registry& registry, OpenWith open)
    : kind_(kind),
      registry_(registry),
      open_(std::move(open)),
      list_(reportList(fileListHeaders(kind))),
      delete_(named(new QPushButton("항목 삭제(&E)"), "delete")),
      openFile_(named(new QPushButton("파일 열기(&O)"), "openFile")),
      openFolder_(named(new QPushButton("해당 폴더 열기"), "openFolder")),
      toSendBox_(named(new QPushButton("보낼 파일함으로(&A)"), "toSendBox")) {
    CRecordStore store(registry_);
    shown_ = readFileRecords(store, kind_);
    for (const Record& record : shown_)
        list_->addTopLevelItem(
            rowItem(fileListRow(record, kind_), kind_ != RecordKind::CaptureFile));
    if (QTreeWidgetItem* last = list_->topLevelItem(list_->topLevelItemCount() - 1)) {
        list_->setCurrentItem(last);
        list_->scrollToItem(last);
    }

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {delete_, openFile_, openFolder_, toSendBox_})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { openCurrent(); });
    connect(delete_, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(openFile_, &QPushButton::clicked, this, [this] { openCurrent(); });
    connect(openFolder_, &QPushButton::clicked, this, [this] { openFolders(); });
    connect(toSendBox_, &QPushButton::clicked, this, [this] { putInSendBox(); });
    updateButtons();
}

std::vector<int> FileManagerPage::selectedRows() const {
    std::vector<int> rows;
    for (QTreeWidgetItem* item : list_->selectedItems())
        rows.push_back(list_->indexOfTopLevelItem(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileManagerPage::updateButtons() {
    const size_t selected = list_->selectedItems().size();
    delete_->setEnabled(selected >= 1);
    toSendBox_->setEnabled(selected >= 1);
    openFile_->setEnabled(selected == 1);
    openFolder_->setEnabled(selected == 1);
}

void FileManagerPage::deleteSelected() {
    const std::vector<int> rows = selectedRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        removed_.push_back(shown_[static_cast<size_t>(*row)]);
        shown_.erase(shown_.begin() + *row);
        delete list_->takeTopLevelItem(*row);
    }
    updateButtons();
}

void FileManagerPage::openCurrent() {
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1) return;
    open_(fileRecordFrom(shown_[static_cast<size_t>(rows[0])], kind_).path);
}

void FileManagerPage::openFolders() {
    for (int row : selectedRows()) {
        const std::string path = fileRecordFrom(shown_[static_cast<size_t>(row)], kind_).path;
        open_(std::filesystem::path(path).parent_path().string());
    }
}

void FileManagerPage::putInSendBox() {
    std::vector<std::string> paths;
    for (int row : selectedRows()) {
        const std::string path = fileRecordFrom(shown_[static_cast<size_t>(row)], kind_).path;
        if (!path.empty()) paths.push_back(path);
    }
    addToSendBox(registry_, paths);
}

bool FileManagerPage::Save() {
    if (removed_.empty()) return true;
    CRecordStore store(registry_);
    std::vector<Record> current = readFileRecords(store, kind_);
    for (const Record& gone : removed_) {
        auto found = std::find(current.begin(), current.end(), gone);
        if (found != current.end()) current.erase(found);
    }
    if (!writeFileRecords(store, kind_, current)) return false;
    removed_.clear();
    return true;
}

// ---------------------------------------------------------------------------------------------
// The sheet

FileManagerSheet::FileManagerSheet(Registry& registry, Prompt& prompt, OpenWith open, int kind,
                                   QWidget* parent)
    : QDialog(parent), registry_(registry), prompt_(prompt), tabs_(new QTabWidget) {
    setWindowTitle("송수신 목록");
    for (int pageKind : {RecordKind::ReceivedFile, RecordKind::SentFile, RecordKind::CaptureFile}) {
        pages_.push_back(new FileManagerPage(pageKind, registry, open));
        tabs_->addTab(pages_.back(), pageCaption(pageKind));
        if (pageKind == kind) tabs_->setCurrentWidget(pages_.back());
    }
    auto* sendBox = named(new QPushButton("보낼 파일함(&B)..."), "sendBox");
    connect(sendBox, &QPushButton::clicked, this,
            [this] { SendBoxDialog(registry_, prompt_, this).exec(); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(sendBox);
    bottom->addStretch();
    bottom->addWidget(OkCancelButtons(this));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);
}

FileManagerPage& FileManagerSheet::Page(int kind) {
    return *pages_.at(static_cast<size_t>(kind - RecordKind::ReceivedFile));
}

void FileManagerSheet::accept() {
    bool saved = true;
    for (FileManagerPage* page : pages_)
        saved = page->Save() && saved;
    if (!saved) prompt_.tell("송수신 목록을 저장하지 못했습니다.", PromptIcon::Error);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// The send box

SendBoxDialog::SendBoxDialog(Registry& registry, Prompt& prompt, QWidget* parent)
    : QDialog(parent), registry_(registry), prompt_(prompt), list_(reportList(sendBoxHeaders())) {
    setWindowTitle("보낼 파일함");
    setAcceptDrops(true);
    auto* add = named(new QPushButton("추가(&A)..."), "add");
    auto* close = named(new QPushButton("닫기"), "close");
    connect(add, &QPushButton::clicked, this, [this] { chooseFiles(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    showFiles();
}

void SendBoxDialog::showFiles() {
    list_->clear();
    for (const std::string& path : loadSendBox(registry_)) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        list_->addTopLevelItem(rowItem(sendBoxRow(path, info.st_size, info.st_mtime), false));
    }
}

void SendBoxDialog::AddFiles(const std::vector<std::string>& paths) {
    const std::vector<std::string> refused = addToSendBox(registry_, paths);
    showFiles();
    for (const std::string& path : refused)
        prompt_.tell(path + "\n이 이름은 보낼 파일함에 넣을 수 없습니다.", PromptIcon::Warning);
}

void SendBoxDialog::chooseFiles() {
    FileRequest request;
    request.kind = FileDialogKind::OpenMany;
    request.caption = "보낼 파일함에 추가";
    request.filter = "모든 파일|*.*|";
    request.folder = GetFolder(registry_, FolderKind::SendFrom);
    const FileReply reply = prompt_.askFile(request);
    if (reply.answer == FileAnswer::Accepted) AddFiles(reply.paths);
}

void SendBoxDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void SendBoxDialog::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    AddFiles(paths);
    event->acceptProposedAction();
}

void OpenFileManager(CMainFrame& frame, int kind) {
    ProcessLauncher& launcher = frame.Launcher();
    FileManagerSheet sheet(
        frame.registry(), frame.prompt(),
        [&launcher](const std::string& path) { launcher.openDocument(path); }, kind, &frame);
    sheet.exec();
}
