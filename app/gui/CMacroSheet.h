#pragma once
// "매크로 설정": the modal sheet of macro settings pages, without a help button. Its page "일반"
// edits one service's keyboard macros, its page "자동" the auto macros; each page stores its
// rows when the sheet is applied.
#include <QDialog>
#include <string>

#include "app/gui/CCommSheet.h"
#include "auto/AutoMacroPage.h"
#include "auto/MacroPage.h"

class CommandList;
class QComboBox;
class QPushButton;
class QTabWidget;

class CMacroSheet : public QDialog {
public:
    // service: the page's first service (CP949), the session's current one.
    CMacroSheet(Registry& registry, Prompt& prompt, const std::string& service,
                QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return tabs_; }
    void Apply();
    void accept() override;

private:
    QTabWidget* tabs_;
};

// "자동": the auto macros of the service chosen with "통신망 종류(&B):", in the shared command
// list with a box per rule, over the page model AutoMacroPage.
class CAutoMacroPage : public CommSheetPage {
public:
    CAutoMacroPage(Registry& registry, Prompt& prompt, const std::string& service);
    void Apply() override;
    const AutoMacroPage& Model() const { return model_; }

private:
    void showRows();
    void updateButtons();
    bool editRecord(Record& record);

    AutoMacroPage model_;
    Prompt& prompt_;
    QComboBox* service_;
    CommandList* list_;
    QPushButton* edit_;
};

// "일반": the keyboard macros of the service chosen with "통신망 종류(&B):", over the page model
// MacroPage, each row edited in the record dialog "%s 매크로 등록 정보".
class CMacroPage : public CommSheetPage {
public:
    CMacroPage(Registry& registry, Prompt& prompt, const std::string& service);
    void Apply() override;
    const MacroPage& Model() const { return model_; }

private:
    void showRows();
    void updateButtons();

    MacroPage model_;
    Prompt& prompt_;
    QComboBox* service_;
    CommandList* list_;
    QPushButton* edit_;
    QPushButton* remove_;
};
