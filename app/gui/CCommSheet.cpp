#include "app/gui/CCommSheet.h"

#include <QTabWidget>
#include <algorithm>

#include "app/gui/CInternetPage.h"
#include "app/gui/CModemPage.h"
#include "app/gui/CZmodemPage.h"
#include "app/gui/CommPages.h"
#include "app/gui/DialogButtons.h"

namespace {

// A page's place in the order; titles not in it go last.
long rank(const QString& title) {
    const std::vector<QString>& order = CCommSheet::PageOrder();
    return std::find(order.begin(), order.end(), title) - order.begin();
}

}  // namespace

const std::vector<QString>& CCommSheet::PageOrder() {
    static const std::vector<QString> order{"일반", "모뎀",     "인터넷 연결",
                                            "텔넷", "프로토콜", "터미널"};
    return order;
}

CCommSheet::CCommSheet(const CommSheetContext& context, QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget) {
    setWindowTitle("통신 설정");
    LayOutSheet(this, tabs_, [this] { Apply(); });

    AddPage(new CGeneralPage(context.registry));
    AddPage(new CModemPage(context));
    if (context.dialup) AddPage(new CInternetPage(context.registry, *context.dialup));
    AddPage(new CTelnetPage(context.registry, context.prompt));
    AddPage(new CZmodemPage(context.registry));
    AddPage(new CTermPage(context.registry, context.doc));
}

void CCommSheet::AddPage(CommSheetPage* page) {
    int index = 0;
    while (index < tabs_->count() &&
           rank(static_cast<CommSheetPage*>(tabs_->widget(index))->Title()) <= rank(page->Title()))
        ++index;
    tabs_->insertTab(index, page, page->Title());
}

CommSheetPage* CCommSheet::Page(const QString& title) const {
    for (int i = 0; i < tabs_->count(); ++i) {
        auto* page = static_cast<CommSheetPage*>(tabs_->widget(i));
        if (page->Title() == title) return page;
    }
    return nullptr;
}

void ApplyPages(const QTabWidget& tabs) {
    for (int i = 0; i < tabs.count(); ++i)
        static_cast<CommSheetPage*>(tabs.widget(i))->Apply();
}

void CCommSheet::Apply() {
    ApplyPages(*tabs_);
}

void CCommSheet::accept() {
    Apply();
    QDialog::accept();
}
