#pragma once
// "전화걸기 [%s]": the window's view of the modem dialler, a modeless dialog centred over the
// main window with the entry's numbers (check boxes), the start, next-number and cancel
// buttons, "자동 걸기", the location, the command sent, the counter and a dialling animation.
// Closing it closes the dialler.
#include <QDialog>

#include "link/DialerView.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class DialerDialog : public QDialog, public DialerView {
public:
    explicit DialerDialog(QWidget* parent = nullptr);
    ~DialerDialog() override;

    void ShowDialer(ModemDialer& dialer) override;
    void UpdateDialer() override;
    void HideDialer() override;

    void reject() override;

private:
    void showRows();
    void onItemChanged(QTreeWidgetItem* item);
    void onRowSelected();
    void centreOverParent();

    ModemDialer* dialer_ = nullptr;
    bool refreshing_ = false;  // the widgets are being set from the dialler
    QLabel* picture_;
    QLabel* location_;
    QLabel* dialString_;
    QLabel* counter_;
    QTreeWidget* rows_;
    QPushButton* start_;
    QPushButton* next_;
    QCheckBox* autoDial_;
};
