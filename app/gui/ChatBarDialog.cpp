#include "app/gui/ChatBarDialog.h"

#include <QFormLayout>
#include <QPixmap>

#include "app/gui/DialogButtons.h"
#include "term/ScreenPainter.h"

namespace {

// The 16 palette colours, each entry a swatch with its index.
QComboBox* colourChoice(int index, QWidget* parent) {
    static const TermPalette palette = MakePalette(false, {});
    auto* choice = new QComboBox(parent);
    for (int i = 0; i < 16; ++i) {
        QPixmap swatch(16, 16);
        swatch.fill(QColor(palette[i]));
        choice->addItem(QIcon(swatch), QString::number(i));
    }
    choice->setCurrentIndex(index);
    return choice;
}

}  // namespace

ChatBarDialog::ChatBarDialog(const ChatBarSettings& settings, QWidget* parent)
    : QDialog(parent),
      bkColor(colourChoice(settings.bkColor, this)),
      textColor(colourChoice(settings.textColor, this)),
      rows(new QSpinBox(this)),
      useCaption(new QCheckBox("덧말 사용(&U)", this)) {
    setWindowTitle("채팅창 설정");
    rows->setRange(1, 9);
    rows->setValue(settings.rows);
    useCaption->setChecked(settings.useCaption);
    auto* form = new QFormLayout(this);
    form->addRow("배경색(&B)", bkColor);
    form->addRow("글자색(&T)", textColor);
    form->addRow("줄 수(&R)", rows);
    form->addRow(useCaption);
    form->addRow(OkCancelButtons(this));
}

ChatBarSettings ChatBarDialog::Settings() const {
    ChatBarSettings settings;
    settings.bkColor = bkColor->currentIndex();
    settings.textColor = textColor->currentIndex();
    settings.rows = rows->value();
    settings.useCaption = useCaption->isChecked();
    return settings;
}
