#pragma once
// "받은 온라인 쪽지": the memos received in this run, columns 시간, 아이디 and 내용, updated as
// memos arrive.
#include <QDialog>
#include <QTreeWidget>
#include <deque>
#include <string>

class ReceivedMemoDialog : public QDialog {
public:
    ReceivedMemoDialog(const std::deque<std::string>& log, QWidget* parent = nullptr);
    // A log entry "%s\t%s\t%s" (CP949).
    void Append(const std::string& entry);
    QTreeWidget& List() { return *list_; }

private:
    QTreeWidget* list_;
};
