#include "app/gui/DialerDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/DialerPictures.h"
#include "app/gui/Named.h"
#include "app/gui/QtPrompt.h"
#include "app/gui/StoredText.h"
#include "link/ModemDialer.h"

namespace {

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

DialerDialog::DialerDialog(QWidget* parent)
    : QDialog(parent),
      picture_(named(new QLabel, "picture")),
      location_(named(new QLabel, "location")),
      dialString_(named(new QLabel, "dialString")),
      counter_(named(new QLabel, "counter")),
      rows_(named(new QTreeWidget, "rows")),
      start_(named(new QPushButton, "start")),
      next_(named(new QPushButton("다음 번호(&N)"), "next")),
      autoDial_(named(new QCheckBox("자동 걸기"), "autoDial")) {
    setModal(false);
    rows_->setHeaderLabels(QString("№    전화번호\t속도\t지역\t통신망").split('\t'));
    rows_->setRootIsDecorated(false);
    rows_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    rows_->setMinimumWidth(420);
    auto* cancel = named(new QPushButton(QtPrompt::kCancel), "cancel");

    auto* status = new QGridLayout;
    status->addWidget(picture_, 0, 0, 3, 1);
    status->addWidget(new QLabel("전화 거는 위치:"), 0, 1);
    status->addWidget(location_, 0, 2);
    status->addWidget(dialString_, 1, 1, 1, 2);
    status->addWidget(counter_, 2, 1, 1, 2);
    status->setColumnStretch(2, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {start_, next_, cancel})
        buttons->addWidget(button);
    buttons->addWidget(autoDial_);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(status, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(rows_);

    connect(start_, &QPushButton::clicked, this, [this] {
        if (dialer_) dialer_->StartOrStop();
    });
    connect(next_, &QPushButton::clicked, this, [this] {
        if (dialer_) dialer_->NextNumber();
    });
    connect(cancel, &QPushButton::clicked, this, &DialerDialog::reject);
    connect(autoDial_, &QCheckBox::toggled, this, [this](bool on) {
        if (dialer_ && !refreshing_) dialer_->SetAutoDial(on);
    });
    connect(rows_, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item) { onItemChanged(item); });
    connect(rows_, &QTreeWidget::currentItemChanged, this, [this] { onRowSelected(); });
}

// The dialler outlives no view: a view that goes first closes it.
DialerDialog::~DialerDialog() {
    if (dialer_) dialer_->Close();
}

void DialerDialog::ShowDialer(ModemDialer& dialer) {
    const bool opening = dialer_ != &dialer || !isVisible();
    dialer_ = &dialer;
    rows_->clear();
    UpdateDialer();
    if (opening) {
        adjustSize();
        centreOverParent();
    }
    show();
    raise();
    activateWindow();
}

void DialerDialog::UpdateDialer() {
    if (!dialer_) return;
    refreshing_ = true;
    setWindowTitle(utf8(dialer_->Caption()));
    start_->setText(utf8(dialer_->StartButtonText()));
    next_->setEnabled(dialer_->Dialling());
    autoDial_->setChecked(dialer_->AutoDial());
    location_->setText(utf8(dialer_->LocationName()));
    dialString_->setText(utf8(dialer_->DialString()));
    counter_->setText(utf8(dialer_->CounterText()));
    picture_->setPixmap(DialerPicture(dialer_->AnimationStep()));
    showRows();
    refreshing_ = false;
}

void DialerDialog::showRows() {
    const std::vector<DialRow>& rows = dialer_->Rows();
    if (rows_->topLevelItemCount() != static_cast<int>(rows.size())) {
        rows_->clear();
        for (size_t i = 0; i < rows.size(); ++i)
            rows_->addTopLevelItem(new QTreeWidgetItem);
    }
    const QString service = utf8(dialer_->ServiceName());
    for (size_t i = 0; i < rows.size(); ++i) {
        QTreeWidgetItem* item = rows_->topLevelItem(static_cast<int>(i));
        const DialRow& row = rows[i];
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, row.record.checked ? Qt::Checked : Qt::Unchecked);
        item->setText(0, QString("%1  %2").arg(i + 1).arg(fromStored(row.record.number)));
        item->setText(1, fromStored(row.record.speed));
        item->setText(2, utf8(row.region));
        item->setText(3, service);
    }
    const int selected = dialer_->SelectedRow();
    rows_->setCurrentItem(selected >= 0 ? rows_->topLevelItem(selected) : nullptr);
    rows_->setEnabled(dialer_->ListEnabled());
}

void DialerDialog::onItemChanged(QTreeWidgetItem* item) {
    if (!dialer_ || refreshing_) return;
    dialer_->SetRowChecked(rows_->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
}

void DialerDialog::onRowSelected() {
    if (!dialer_ || refreshing_) return;
    if (QTreeWidgetItem* item = rows_->currentItem())
        dialer_->SelectRow(rows_->indexOfTopLevelItem(item));
}

void DialerDialog::HideDialer() {
    dialer_ = nullptr;
    hide();
}

// "취소", Esc and the title bar's close button close the dialler, which then hides this.
void DialerDialog::reject() {
    if (dialer_) {
        dialer_->Close();
    } else {
        hide();
    }
}

void DialerDialog::centreOverParent() {
    if (QWidget* over = parentWidget()) {
        const QRect frame = over->frameGeometry();
        move(frame.center() - rect().center());
    }
}
