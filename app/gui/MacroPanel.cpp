#include "app/gui/MacroPanel.h"

#include <QToolButton>
#include <QVBoxLayout>

#include "app/gui/StoredText.h"
#include "link/CQuillonDoc.h"

MacroPanel::MacroPanel(QWidget* parent) : QWidget(parent), macros_(new QVBoxLayout(this)) {
    macros_->setContentsMargins(0, 0, 0, 0);
    macros_->setSpacing(0);
}

QString MacroPanel::ToolTip(const std::string& name) {
    return QString("%1 매크로를 실행합니다.").arg(fromStored(name));
}

void MacroPanel::Show(CQuillonDoc* doc) {
    for (QToolButton* button : findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        delete button;
    if (!doc) return;
    const std::vector<MacroRow>& rows = doc->Macros().Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setText(fromStored(rows[i].name));
        button->setToolTip(ToolTip(rows[i].name));
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);  // the panel's width
        connect(button, &QToolButton::clicked, this, [doc, i] { doc->RunMacro(i); });
        macros_->addWidget(button);
    }
}
