#include "app/gui/ReceivedMemoDialog.h"

#include <QVBoxLayout>

#include "platform/TextCodec.h"

ReceivedMemoDialog::ReceivedMemoDialog(const std::deque<std::string>& log, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)) {
    setWindowTitle("받은 온라인 쪽지");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels(QString("시간\t아이디\t내용").split('\t'));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    for (const std::string& entry : log)
        Append(entry);
    resize(480, 300);
}

void ReceivedMemoDialog::Append(const std::string& entry) {
    const QStringList fields = QString::fromStdString(cp949ToUtf8Lossy(entry)).split('\t');
    list_->addTopLevelItem(new QTreeWidgetItem(fields.mid(0, 3)));
}
