#pragma once
// "통신 설정": the sheet of communication settings pages. Each page stores its values when
// the sheet is applied (OK or "적용(&A)"). Pages take their place in the sheet's page order
// whenever they are added, so a page added later lands between the ones around it.
#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "auto/Registry.h"
#include "link/DialupBackend.h"
#include "link/SerialPorts.h"
#include "platform/Prompt.h"

class CQuillonDoc;
class QTabWidget;

// One page of the sheet, known by its tab title.
class CommSheetPage : public QWidget {
public:
    explicit CommSheetPage(QString title) : title_(std::move(title)) {}
    const QString& Title() const { return title_; }
    // Stores what the page shows and puts it into effect.
    virtual void Apply() = 0;

private:
    QString title_;
};

// Applies every page of a sheet's tabs, in tab order.
void ApplyPages(const QTabWidget& tabs);

struct CommSheetContext {
    Registry& registry;
    Prompt& prompt;
    CQuillonDoc* doc = nullptr;                    // the session, when there is one
    std::function<void()> modemChanged = nullptr;  // the modem device changed on Apply
    SerialPortPaths ports = {};
    DialupBackend* dialup = nullptr;  // dial-up networking: the "인터넷 연결" page
};

class CCommSheet : public QDialog {
public:
    // The tab titles in sheet order: "일반", "모뎀", "인터넷 연결", "텔넷", "프로토콜", "터미널".
    static const std::vector<QString>& PageOrder();

    explicit CCommSheet(const CommSheetContext& context, QWidget* parent = nullptr);

    // Takes the page; it goes after the pages that come before it in PageOrder().
    void AddPage(CommSheetPage* page);
    QTabWidget* Tabs() const { return tabs_; }
    CommSheetPage* Page(const QString& title) const;
    void Apply();
    void accept() override;

private:
    QTabWidget* tabs_;
};
