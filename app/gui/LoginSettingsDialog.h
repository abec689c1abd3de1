#pragma once
// "사용자 로그인 설정" in the window: the service selector, the list of IDs in the shared command
// list (buttons for add, delete and edit; making an ID the default and the advanced dialog have
// hidden buttons and are reached through the right-click menu), the record dialog "아이디 등록
// 정보" and the advanced dialog of the prompt patterns, over the LoginSettingsPage model.
#include <QDialog>
#include <memory>
#include <string>

#include "auto/LoginSettingsPage.h"

class CommandList;
class QComboBox;
class QPushButton;

class LoginSettingsDialog : public QDialog {
public:
    LoginSettingsDialog(Registry& registry, Prompt& prompt, const std::string& service,
                        QWidget* parent = nullptr);

    LoginSettingsPage& Page() { return page_; }
    CommandList* List() const { return list_; }
    // The list's commands, as the buttons and the right-click menu run them.
    void EditSelected();
    void AddRow();
    void DeleteSelected();
    void MakeSelectedDefault();
    void EditPatterns();
    void accept() override;

private:
    LoginSettingsPage::RecordDialog recordDialog(bool adding);
    QPushButton* commandButton(size_t index, const char* name, void (LoginSettingsDialog::*run)());
    void showRows();

    Prompt& prompt_;
    LoginSettingsPage page_;
    QComboBox* services_;
    CommandList* list_;
    QPushButton* advanced_ = nullptr;
};

// The record dialog: edits an ID record (CP949) until it passes the record checks; false when
// cancelled.
bool EditLoginRecord(QWidget* parent, Prompt& prompt, Record& record, bool adding);
// The advanced dialog "사용자 로그인 고급 설정" over the page's patterns.
void EditLoginPatterns(QWidget* parent, LoginSettingsPage& page);
