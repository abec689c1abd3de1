#include "app/gui/HostDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <sstream>

#include "auto/RecentList.h"
#include "platform/TextCodec.h"

std::optional<std::vector<std::string>> AskTelnetHost(QWidget* parent, Registry& registry) {
    RecentList recent = recentTelnetHosts(registry);
    QDialog dialog(parent);
    dialog.setWindowTitle("호스트에 연결");
    auto* hosts = new QComboBox;
    hosts->setEditable(true);
    hosts->setInsertPolicy(QComboBox::NoInsert);
    hosts->setMinimumContentsLength(30);
    for (const std::string& host : recent.load())
        hosts->addItem(QString::fromStdString(cp949ToUtf8Lossy(host)));
    auto* form = new QFormLayout(&dialog);
    form->addRow("호스트 이름(&H):", hosts);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("확인", QDialogButtonBox::AcceptRole);
    buttons->addButton("취소", QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    const std::string typed = hosts->currentText().trimmed().toStdString();
    std::istringstream in(typed);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    if (words.empty()) return std::nullopt;
    recent.add(utf8ToCp949Lossy(typed));
    return words;
}
