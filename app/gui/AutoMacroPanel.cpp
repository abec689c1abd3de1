#include "app/gui/AutoMacroPanel.h"

#include <QToolButton>
#include <QVBoxLayout>

#include "app/gui/StoredText.h"
#include "link/CQuillonDoc.h"

namespace {

std::string title(const Record& record) {
    auto found = record.find("Title");
    return found == record.end() ? std::string() : found->second;
}

}  // namespace

AutoMacroPanel::AutoMacroPanel(QWidget* parent) : QWidget(parent), rules_(new QVBoxLayout(this)) {
    rules_->setContentsMargins(0, 0, 0, 0);
    rules_->setSpacing(0);
}

QString AutoMacroPanel::ToolTip(const std::string& title) {
    return QString("\"%1\" 자동 매크로를 끄거나 켭니다.").arg(fromStored(title));
}

void AutoMacroPanel::Show(CQuillonDoc* doc) {
    for (QToolButton* button : findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        delete button;
    if (!doc) return;
    const AutoMacroList& list = doc->AutoMacros();
    for (size_t i = 0; i < list.Records().size(); ++i) {
        auto* button = new QToolButton(this);
        button->setText(fromStored(title(list.Records()[i])));
        button->setToolTip(ToolTip(title(list.Records()[i])));
        button->setCheckable(true);
        button->setChecked(!list.IsOff(i));
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);  // the panel's width
        connect(button, &QToolButton::clicked, this, [doc, button, i] {
            doc->ToggleAutoMacro(i);
            button->setChecked(i < doc->AutoMacros().Records().size() &&
                               !doc->AutoMacros().IsOff(i));
        });
        rules_->addWidget(button);
    }
}
