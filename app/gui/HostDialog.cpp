#include "app/gui/HostDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "auto/RecentList.h"
#include "link/CommandLine.h"
#include "platform/TextCodec.h"

namespace {

QStringList fromCp949(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list.append(QString::fromStdString(cp949ToUtf8Lossy(text)));
    return list;
}

// A dialog with one editable list and Korean OK and Cancel buttons; the text chosen, or
// nothing when cancelled.
std::optional<QString> askInList(QWidget* parent, const QString& caption, const QString& label,
                                 const QStringList& items) {
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* list = new QComboBox;
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMinimumContentsLength(30);
    list->addItems(items);
    auto* form = new QFormLayout(&dialog);
    form->addRow(label, list);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("확인", QDialogButtonBox::AcceptRole);
    buttons->addButton("취소", QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return list->currentText();
}

}  // namespace

std::optional<std::vector<std::string>> AskTelnetHost(QWidget* parent, Registry& registry) {
    std::optional<QString> typed =
        askInList(parent, "호스트에 연결", "호스트 이름(&H):", RecentHosts(registry));
    return typed ? TakeTypedHost(registry, *typed) : std::nullopt;
}

std::optional<std::vector<std::string>> TakeTypedHost(Registry& registry, const QString& typed) {
    const std::string line = typed.trimmed().toStdString();
    std::vector<std::string> host = CommandLineWords(line);
    if (host.empty()) return std::nullopt;
    recentTelnetHosts(registry).add(utf8ToCp949Lossy(line));
    return host;
}

QStringList RecentHosts(Registry& registry) {
    return fromCp949(recentTelnetHosts(registry).load());
}
