#include "app/gui/QtFileDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "app/gui/Named.h"
#include "app/gui/QtPrompt.h"
#include "auto/ProgramExit.h"

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QFileDialog::FileMode fileMode(FileDialogKind kind) {
    switch (kind) {
        case FileDialogKind::OpenMany:
            return QFileDialog::ExistingFiles;
        case FileDialogKind::Save:
            return QFileDialog::AnyFile;
        case FileDialogKind::Open:
            break;
    }
    return QFileDialog::ExistingFile;
}

// The controls a request adds below the file list, on rows of the dialog's own grid.
struct ExtraControls {
    QComboBox* choices = nullptr;
    std::vector<QCheckBox*> checks;
    bool extraClicked = false;
};

void addControls(QFileDialog& dialog, const FileRequest& request, ExtraControls& controls) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) return;
    int row = grid->rowCount();
    if (!request.choices.empty()) {
        controls.choices = named(new QComboBox(&dialog), "choices");
        for (const std::string& choice : request.choices)
            controls.choices->addItem(text(choice));
        controls.choices->setCurrentIndex(request.choice);
        controls.choices->setEnabled(!request.choiceLocked);
        auto* label = new QLabel("프로토콜(&P):", &dialog);
        label->setBuddy(controls.choices);
        grid->addWidget(label, row, 0);
        grid->addWidget(controls.choices, row++, 1);
    }
    for (const FileCheck& check : request.checks) {
        auto* box = new QCheckBox(text(check.text), &dialog);
        box->setObjectName(QString("check%1").arg(controls.checks.size()));
        box->setChecked(check.checked);
        controls.checks.push_back(box);
        grid->addWidget(box, row++, 1);
    }
    if (request.checksForFilter >= 0) {
        const QStringList filters = dialog.nameFilters();
        auto enable = [&controls, filters, wanted = request.checksForFilter](const QString& f) {
            for (QCheckBox* box : controls.checks)
                box->setEnabled(filters.indexOf(f) == wanted);
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, enable);
        enable(dialog.selectedNameFilter());
    }
    if (!request.extraButton.empty()) {
        auto* button = named(new QPushButton(text(request.extraButton), &dialog), "extra");
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &controls] {
            controls.extraClicked = true;
            // QDialog's own accept: this button needs no file name checked.
            dialog.QDialog::accept();
        });
        grid->addWidget(button, row, 2);
    }
}

}  // namespace

QStringList qtNameFilters(const std::string& filter) {
    QStringList filters;
    std::vector<std::string> parts;
    for (size_t at = 0; at < filter.size();) {
        const size_t bar = filter.find('|', at);
        parts.push_back(filter.substr(at, bar == std::string::npos ? std::string::npos : bar - at));
        if (bar == std::string::npos) break;
        at = bar + 1;
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        QString label = text(parts[i]).trimmed();
        const qsizetype open = label.lastIndexOf('(');
        if (open > 0 && label.endsWith(')')) label = label.left(open).trimmed();
        QString patterns = text(parts[i + 1]);
        patterns.replace(';', ' ');
        filters << label + " (" + patterns.simplified() + ")";
    }
    return filters;
}

FileReply QtPrompt::askFile(const FileRequest& request) {
    FileReply reply = Prompt::askFile(request);
    if (programIsExiting()) return reply;
    ExtraControls controls;  // outlives the dialog its handlers belong to
    QFileDialog dialog(parent_, text(request.caption), text(request.folder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(fileMode(request.kind));
    dialog.setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave
                                                              : QFileDialog::AcceptOpen);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(text(request.defaultExtension));
    if (!request.fileName.empty()) dialog.selectFile(text(request.fileName));
    if (!request.acceptText.empty())
        dialog.setLabelText(QFileDialog::Accept, text(request.acceptText));
    addControls(dialog, request, controls);
    if (dialog.exec() != QDialog::Accepted) return reply;
    reply.answer = controls.extraClicked ? FileAnswer::Extra : FileAnswer::Accepted;
    for (const QString& path : dialog.selectedFiles())
        reply.paths.push_back(path.toStdString());
    reply.filter = std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()));
    if (controls.choices) reply.choice = controls.choices->currentIndex();
    for (size_t i = 0; i < controls.checks.size(); ++i)
        reply.checks[i] = controls.checks[i]->isChecked();
    return reply;
}
