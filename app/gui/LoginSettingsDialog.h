#pragma once
// "사용자 로그인 설정" in the window: the service selector, the list of IDs with its right-click
// menu (edit, add, delete, make default, advanced), the record dialog "아이디 등록 정보" and the
// advanced dialog of the prompt patterns, over the LoginSettingsPage model.
#include <QDialog>
#include <memory>
#include <string>

#include "auto/LoginSettingsPage.h"

class QComboBox;
class QTreeWidget;

class LoginSettingsDialog : public QDialog {
public:
    LoginSettingsDialog(Registry& registry, Prompt& prompt, const std::string& service,
                        QWidget* parent = nullptr);

    LoginSettingsPage& Page() { return page_; }
    QTreeWidget* List() const { return list_; }
    // The list's commands, as the buttons and the right-click menu run them.
    void EditSelected();
    void AddRow();
    void DeleteSelected();
    void MakeSelectedDefault();
    void EditPatterns();
    void DoubleClick();
    void accept() override;

private:
    std::vector<size_t> selectedRows() const;
    LoginSettingsPage::RecordDialog recordDialog(bool adding);
    void showRows();
    void showMenu(const QPoint& at);

    Prompt& prompt_;
    LoginSettingsPage page_;
    QComboBox* services_;
    QTreeWidget* list_;
};

// The record dialog: edits an ID record (CP949) until it passes the record checks; false when
// cancelled.
bool EditLoginRecord(QWidget* parent, Prompt& prompt, Record& record, bool adding);
// The advanced dialog "사용자 로그인 고급 설정" over the page's patterns.
void EditLoginPatterns(QWidget* parent, LoginSettingsPage& page);
