#pragma once
// "송수신 목록": the files received, sent and captured on three pages ("받은 파일", "보낸 파일",
// "갈무리 파일"), each a list whose rows can be removed (the files stay), opened, have their
// folder opened, or be put into the send box; and the send box itself ("보낼 파일함"), to which
// files are added with a file dialog or by dropping them on it.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"
#include "platform/Prompt.h"

class CMainFrame;
class QPushButton;
class QTabWidget;
class QTreeWidget;

// Opens a file or folder with the desktop's program for it.
using OpenWith = std::function<void(const std::string& path)>;

class FileManagerPage : public QWidget {
public:
    FileManagerPage(int kind, Registry& registry, OpenWith open);
    int Kind() const { return kind_; }
    QTreeWidget& List() { return *list_; }
    // Writes the list back when rows were removed: the list as stored now (records added
    // meanwhile stay) less the removed rows. False when the store refused.
    bool Save();

private:
    void updateButtons();
    std::vector<int> selectedRows() const;
    void deleteSelected();
    void openCurrent();
    void openFolders();
    void putInSendBox();

    int kind_;
    Registry& registry_;
    OpenWith open_;
    std::vector<Record> shown_;    // the records of the rows, in row order
    std::vector<Record> removed_;  // records whose rows were deleted
    QTreeWidget* list_;
    QPushButton* delete_;
    QPushButton* openFile_;
    QPushButton* openFolder_;
    QPushButton* toSendBox_;
};

class FileManagerSheet : public QDialog {
public:
    // `kind` chooses the page shown first.
    FileManagerSheet(Registry& registry, Prompt& prompt, OpenWith open, int kind,
                     QWidget* parent = nullptr);
    FileManagerPage& Page(int kind);

    void accept() override;

private:
    Registry& registry_;
    Prompt& prompt_;
    QTabWidget* tabs_;
    std::vector<FileManagerPage*> pages_;
};

class SendBoxDialog : public QDialog {
public:
    SendBoxDialog(Registry& registry, Prompt& prompt, QWidget* parent = nullptr);
    QTreeWidget& List() { return *list_; }
    // Adds files (UTF-8 paths) and shows the list again; paths CP949 cannot hold are refused
    // with a message.
    void AddFiles(const std::vector<std::string>& paths);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void showFiles();
    void chooseFiles();

    Registry& registry_;
    Prompt& prompt_;
    QTreeWidget* list_;
};

// The sheet over the main window, on the page of `kind` (8, 9 or 10).
void OpenFileManager(CMainFrame& frame, int kind);
