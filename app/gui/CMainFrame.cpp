#include "app/gui/CMainFrame.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "app/CommandTable.h"
#include "app/gui/CommandRegistration.h"
#include "app/gui/HostDialog.h"
#include "app/gui/QtPrompt.h"
#include "link/CQuillonDoc.h"

namespace {

constexpr int kStatusMessageMs = 8000;

}  // namespace

CMainFrame::CMainFrame(Registry& registry, QtEventLoop& loop, Prompt& prompt)
    : registry_(registry), loop_(loop), prompt_(prompt), view_(new CQuillonView), menus_(this) {
    setWindowTitle(QString(QtPrompt::kProgramName));
    setCentralWidget(view_);
    for (QMenu* menu : menus_.Menus()) {
        menuBar()->addMenu(menu);
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });
    }
    for (const auto& [id, action] : menus_.Actions())
        connect(action, &QAction::triggered, this, [this, id = id] {
            loop_.interruptWait();
            RunCommand(id);
        });
    statusBar();
    resize(kDefaultWidth, kDefaultHeight);
    view_->setFocus();
    registerCommands();
    registerViewCommands(*this);
    registerDialogCommands(*this);
    view_->sizeWanted = [this](QSize client) { fitToView(client); };
    loop_.setIdleHook([this] { return onIdle(); });
}

CMainFrame::~CMainFrame() {
    loop_.setIdleHook(nullptr);
}

void CMainFrame::Attach(CQuillonDoc& doc) {
    doc_ = &doc;
    view_->Attach(doc);
}

bool CMainFrame::onIdle() {
    const bool more = doc_ && doc_->OnIdle();
    view_->FlushDamage();
    return more;
}

void CMainFrame::SetCommand(int id, Handler handler) {
    handlers_[id] = std::move(handler);
}

bool CMainFrame::RunCommand(int id) {
    auto it = handlers_.find(id);
    if (it == handlers_.end() || !it->second.run) return false;
    if (it->second.enabled && !it->second.enabled()) return false;
    it->second.run();
    UpdateCommands();
    return true;
}

void CMainFrame::UpdateCommands() {
    for (const auto& [id, action] : menus_.Actions()) {
        auto it = handlers_.find(id);
        const bool known = it != handlers_.end() && it->second.run;
        action->setEnabled(known && (!it->second.enabled || it->second.enabled()));
        if (known && it->second.checked) action->setChecked(it->second.checked());
    }
}

void CMainFrame::registerCommands() {
    auto withDoc = [this](std::function<void(CQuillonDoc&)> f) {
        return [this, f] {
            if (doc_) f(*doc_);
        };
    };
    SetCommand(Cmd::ConnectHost, {[this] { connectToHost(); }});
    SetCommand(Cmd::HangUp, {withDoc([](CQuillonDoc& d) { d.HangUp(false); })});
    SetCommand(Cmd::Exit, {[this] { close(); }});
    SetCommand(Cmd::ModemMode, {withDoc([](CQuillonDoc& d) { d.SwitchToModemMode(); }), [this] {
                                    return doc_ && doc_->LinkMode() == CQuillonDoc::kModemMode;
                                }});
    SetCommand(Cmd::TelnetMode, {withDoc([](CQuillonDoc& d) { d.SwitchToTelnetMode(); }), [this] {
                                     return doc_ && doc_->LinkMode() == CQuillonDoc::kTelnetMode;
                                 }});
    SetCommand(Cmd::AnswerMode, {withDoc([](CQuillonDoc& d) { d.ToggleAnswerMode(); }),
                                 [this] { return doc_ && doc_->AnswerMode(); }});
}

void CMainFrame::connectToHost() {
    if (!doc_) return;
    if (std::optional<std::vector<std::string>> words = AskTelnetHost(this, registry_))
        doc_->OpenCommandLine(*words);
}

void CMainFrame::SaveWindowState() {}

// The window takes the size that shows the view's cells whole, unless it is maximised.
void CMainFrame::fitToView(QSize client) {
    if (isMaximized()) return;
    resize(size() - view_->size() + client);
}

void CMainFrame::SetTitle(const std::string& title) {
    const QString name = QString(QtPrompt::kProgramName);
    setWindowTitle(title.empty() ? name : QString::fromStdString(title) + " - " + name);
}

void CMainFrame::ShowStatus(const std::string& text) {
    statusBar()->showMessage(QString::fromStdString(text), kStatusMessageMs);
}

void CMainFrame::SetOnline(bool) {}

void CMainFrame::SetLinkMode(int, const std::string&) {}

void CMainFrame::ClearScreen() {
    view_->ClearScreen();
    view_->MoveTo(1, 1);
}

// A second connection goes to a new copy of the program.
void CMainFrame::HandOff(const std::vector<std::string>& args) {
    std::vector<std::string> argv{ProcessLauncher::ownProgram(), "--gui"};
    argv.insert(argv.end(), args.begin(), args.end());
    if (launcher_.start(argv, "", true).pid <= 0) ShowStatus("새 창을 열지 못했습니다.");
}

void CMainFrame::OpenCommSettings() {
    RunCommand(Cmd::CommSettings);
}

// A close asked for during a wait (a modem pause, a paced send) first ends the wait, then
// comes back.
void CMainFrame::closeEvent(QCloseEvent* event) {
    if (loop_.Waiting()) {
        event->ignore();
        loop_.interruptWait();
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (doc_ && !doc_->Closing() && !doc_->QueryClose()) {
        event->ignore();
        return;
    }
    event->accept();
    loop_.quit();
}
