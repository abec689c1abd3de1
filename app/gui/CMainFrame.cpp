#include "app/gui/CMainFrame.h"
#include "app/gui/ChatDocks.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "app/CommandTable.h"
#include "app/gui/BookmarkDialog.h"
#include "app/gui/CommandRegistration.h"
#include "app/gui/FramePlacement.h"
#include "app/gui/GuiCapture.h"
#include "app/gui/HostDialog.h"
#include "app/gui/LoginChooserDialog.h"
#include "app/gui/Named.h"
#include "app/gui/NavigationCommands.h"
#include "app/gui/QtHotKey.h"
#include "app/gui/QtPrompt.h"
#include "auto/ProgramExit.h"
#include "link/CQuillonDoc.h"

namespace {

constexpr int kStatusMessageMs = 8000;
// How soon the end asked for from outside tries again while a question or a wait is still open.
constexpr int kEndRetryMs = 10;

// The built-in web window has no browser yet: this page stands in its place.
QWidget* makeWebPage() {
    auto* page = new QLabel("웹 화면\n\n이 창에는 아직 웹 문서를 보여 주지 않습니다.");
    page->setAlignment(Qt::AlignCenter);
    page->setAutoFillBackground(true);
    page->setFocusPolicy(Qt::StrongFocus);
    return page;
}

QString now() {
    return QDateTime::currentDateTime().toString("[HH:mm:ss] ");
}

}  // namespace

CMainFrame::CMainFrame(Registry& registry, QtEventLoop& loop, Prompt& prompt, Clock& clock)
    : registry_(registry),
      loop_(loop),
      prompt_(prompt),
      view_(new CQuillonView),
      pages_(new QStackedWidget),
      menus_(this),
      bars_(*this, menus_, registry),
      panes_(*statusBar(), clock),
      autoMacros_(named(new AutoMacroPanel, "autoMacros")),
      macros_(named(new MacroPanel, "macros")),
      bookmarks_(named(new BookmarkPanel, "bookmarks")),
      settings_(registry, "Settings") {
    setWindowTitle(QString(QtPrompt::kProgramName));
    pages_->addWidget(view_);
    pages_->addWidget(makeWebPage());
    setCentralWidget(pages_);
    for (QMenu* menu : menus_.Menus()) {
        menuBar()->addMenu(menu);
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });
    }
    auto* bookmarkMenu = named(new QMenu("책갈피(&B)", this), "bookmarkMenu");
    menuBar()->insertMenu(menus_.Menus().back()->menuAction(), bookmarkMenu);
    connect(bookmarkMenu, &QMenu::aboutToShow, this, [this, bookmarkMenu] {
        UpdateCommands();
        FillBookmarkMenu(*bookmarkMenu, *this);
    });
    for (const auto& [id, action] : menus_.Actions())
        connect(action, &QAction::triggered, this, [this, id = id] {
            loop_.interruptWait();
            RunCommand(id);
        });
    auto* menuKey = new QAction(this);  // works with the menu bar hidden too
    menuKey->setShortcut(QKeySequence("Alt+U"));
    menuKey->setShortcutContext(Qt::WindowShortcut);
    addAction(menuKey);
    connect(menuKey, &QAction::triggered, this,
            [this] { showMainMenu(pages_->mapToGlobal(QPoint(0, 0))); });
    resize(kDefaultWidth, kDefaultHeight);
    view_->setFocus();
    registerCommands();
    registerViewCommands(*this);
    registerDialogCommands(*this);
    registerNavigationCommands(*this);
    view_->sizeWanted = [this](QSize client) { fitToView(client); };
    view_->contextMenuWanted = [this](QPoint at) { showMainMenu(at); };
    panes_.SetScreenSize(TWView::kColumns, view_->Rows());
    panes_.screenSettingsWanted = [this] { RunCommand(Cmd::ScreenSettings); };
    bars_.hostTyped = [this](const QString& typed) { openTypedHost(typed); };
    bars_.AddPanelPage(macros_);
    bars_.AddPanelPage(autoMacros_);
    bars_.AddPanelPage(bookmarks_);
    HangulInputSwitch& input = view_->InputSwitch();
    input.changed = [this, before = input.changed] {
        if (before) before();
        showInputState();
    };
    showInputState();
    loop_.setIdleHook([this] { return onIdle(); });
    UpdateCommands();
}

CMainFrame::~CMainFrame() {
    loop_.setIdleHook(nullptr);
}

void CMainFrame::Attach(CQuillonDoc& doc) {
    doc_ = &doc;
    view_->Attach(doc);
    // A macro's hot key goes before the menu shortcuts and the terminal, and shows the live
    // screen again.
    view_->itemSelected = [this] { UpdateCommands(); };
    view_->macroKeys = {
        [&doc](const QKeyEvent& key) {
            return doc.Macros().Find(QtHotKey(key.key(), key.modifiers())).has_value();
        },
        [this, &doc](QKeyEvent& key) {
            view_->ScrollToBottom();
            doc.TranslateMacroKey(QtHotKey(key.key(), key.modifiers()));
        }};
    ServiceChanged();
    capture_ = std::make_unique<GuiCapture>(*this, doc);
    chat_ = std::make_unique<ChatDocks>(*this, doc);
    UpdateCommands();
}

void CMainFrame::ServiceChanged() {
    macros_->Show(doc_);
    autoMacros_->Show(doc_);
    PlacesChanged();
    UpdateCommands();
}

void CMainFrame::RedrawIconPanel() {
    macros_->Show(doc_);
    autoMacros_->Show(doc_);
    bookmarks_->Show(doc_);
}

void CMainFrame::ShowBookmarksPage() {
    bookmarks_->show();
    bookmarks_->setFocus();
}

void CMainFrame::ShowLocation(const std::string& title, const std::string& code) {
    if (!code.empty()) ShowStatus(title + " (" + code + ")");
}

bool CMainFrame::EditBookmark(Record& bookmark) {
    return BookmarkDialog::Edit(bookmark, prompt_, this);
}

void CMainFrame::PlacesChanged() {
    bookmarks_->Show(doc_);
    if (doc_) bars_.ShowPlaces(RecentPlaceLines(*doc_));
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
    SetCommand(Cmd::AutoMacro, {withDoc([](CQuillonDoc& d) { d.ToggleUseAutoMacro(); }),
                                [this] { return doc_ && doc_->UseAutoMacro(); }});
    SetCommand(Cmd::UseLogin, {withDoc([](CQuillonDoc& d) { d.ToggleUseLogin(); }),
                               [this] { return doc_ && doc_->Login().UseLogin(); }});
    SetCommand(Cmd::UseAutoLogin, {withDoc([](CQuillonDoc& d) { d.ToggleUseAutoLogin(); }),
                                   [this] { return doc_ && doc_->Login().UseAutoLogin(); }});
    for (const FrameBars::Toggle& t : FrameBars::Toggles())
        SetCommand(t.command, {[this, bar = t.bar] { bars_.Flip(bar); },
                               [this, bar = t.bar] { return bars_.On(bar); }});
    SetCommand(Cmd::WebMode, {[this] { SetWebMode(!WebMode()); }, [this] { return WebMode(); }});
    SetCommand(Cmd::About, {[this] { showAbout(); }});
}

void CMainFrame::connectToHost() {
    if (!doc_) return;
    if (std::optional<std::vector<std::string>> words = AskTelnetHost(this, registry_))
        doc_->OpenCommandLine(*words);
    bars_.RefreshRecentHosts();
}

void CMainFrame::openTypedHost(const QString& typed) {
    if (!doc_) return;
    if (std::optional<std::vector<std::string>> words = TakeTypedHost(registry_, typed))
        doc_->OpenCommandLine(*words);
}

void CMainFrame::showAbout() {
    PromptRequest about;
    about.text =
        "Quilite\n\n한글 통신 프로그램: 텔넷과 모뎀으로 접속하는 한글 터미널, 파일 송수신.";
    about.icon = PromptIcon::Information;
    about.caption = "Quilite 정보";
    prompt_.show(about);
}

void CMainFrame::showMainMenu(QPoint at) {
    UpdateCommands();
    menus_.Popup()->popup(at);
}

void CMainFrame::showInputState() {
    panes_.SetInputState(view_->InputSwitch().HangulMode());
}

// The window takes the size that shows the view's cells whole, unless it is maximised. At
// start the stored placement decides, so only a window already showing follows the view.
void CMainFrame::fitToView(QSize client) {
    panes_.SetScreenSize(TWView::kColumns, view_->Rows());
    if (!isVisible() || isMaximized()) return;
    resize(size() - view_->size() + client);
}

// ---------------------------------------------------------------------------------------------
// Placement

std::string CMainFrame::placementName() const {
    return WebMode() ? "WebPos" : "WindowPos";
}

bool CMainFrame::RestorePlacement(const std::function<bool(QPoint)>& positionTaken) {
    std::optional<WindowPlacement> stored = settings_.LoadPlacement(placementName());
    if (!stored) return false;
    const bool placed = applyPlacement(*stored, positionTaken);
    return !placed && windowPositionsWork();
}

bool CMainFrame::applyPlacement(const WindowPlacement& placement,
                                const std::function<bool(QPoint)>& positionTaken) {
    QRect rect = normalRect(placement);
    if (rect.isEmpty()) rect.setSize(QSize(kDefaultWidth, kDefaultHeight));
    rect = mendedRect(rect, availableScreenAreas());
    const bool place = windowPositionsWork() && !(positionTaken && positionTaken(rect.topLeft()));
    setWindowState(windowState() & ~Qt::WindowMaximized);
    if (place)
        setGeometry(rect);
    else
        resize(rect.size());
    if (placement.showCmd == ShowCommand::Maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    return place;
}

// Where the window system does not tell programs where their windows stand, the position
// stored before is kept.
void CMainFrame::savePlacement() {
    WindowPlacement placement = placementOf(*this);
    if (!windowPositionsWork()) {
        const QRect size = normalRect(placement);
        std::optional<WindowPlacement> stored = settings_.LoadPlacement(placementName());
        placement.left = stored ? stored->left : 0;
        placement.top = stored ? stored->top : 0;
        placement.right = placement.left + size.width();
        placement.bottom = placement.top + size.height();
    }
    settings_.SavePlacement(placementName(), placement);
}

void CMainFrame::SaveWindowState() {
    if (programIsExiting()) return;
    savePlacement();
    bars_.SaveToggles();
}

void CMainFrame::SetWebMode(bool on) {
    if (on == WebMode()) return;
    if (!programIsExiting()) savePlacement();
    bars_.SetWebMode(on);
    pages_->setCurrentIndex(on ? 1 : 0);
    pages_->currentWidget()->setFocus();
    if (std::optional<WindowPlacement> stored = settings_.LoadPlacement(placementName()))
        applyPlacement(*stored, nullptr);
}

void CMainFrame::reportPosition() {
    if (windowMoved && windowPositionsWork()) windowMoved(geometry().topLeft());
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    reportPosition();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    reportPosition();
}

// ---------------------------------------------------------------------------------------------
// SessionFrame

void CMainFrame::SetTitle(const std::string& title) {
    title_ = title;
    const QString name = QString(QtPrompt::kProgramName);
    setWindowTitle(title.empty() ? name : QString::fromStdString(title) + " - " + name);
}

void CMainFrame::ShowStatus(const std::string& text) {
    statusBar()->showMessage(QString::fromStdString(text), kStatusMessageMs);
}

void CMainFrame::SetOnline(bool online) {
    panes_.SetOnline(online);
    if (online != online_)
        bars_.AddHistory(now() + (online ? QString::fromStdString(title_) + " 연결" : "연결 끊김"));
    online_ = online;
    UpdateCommands();
}

void CMainFrame::SetLinkMode(int mode, const std::string& device) {
    const std::string port =
        mode == CQuillonDoc::kModemMode ? linkStateText(ModemTable::load(registry_), device) : "";
    panes_.SetLinkMode(mode, port, device);
    UpdateCommands();
}

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

void CMainFrame::LinkActivity(bool received, bool sent) {
    panes_.LinkActivity(received, sent);
}

bool CMainFrame::ChooseLogin(const std::vector<Record>& ids, LoginChoice& choice) {
    return ChooseLoginInDialog(this, prompt_, ids, choice);
}

// The desktop flashes the window until the user turns to it; the chooser does not wait for
// that. A minimised window comes back first, so that the chooser is seen with it.
void CMainFrame::AttractUser() {
    if (isActiveWindow() && isVisible()) return;
    if (isMinimized()) showNormal();
    QApplication::alert(this, 0);
}

void CMainFrame::RedrawNow() {
    view_->repaint();
}

// ---------------------------------------------------------------------------------------------
// Closing

// A close asked for during a wait (a modem pause, a paced send) first ends the wait, then
// comes back.
void CMainFrame::closeEvent(QCloseEvent* event) {
    if (loop_.Waiting()) {
        event->ignore();
        loop_.interruptWait();
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (!programIsExiting() && doc_ && !doc_->Closing() && !doc_->QueryClose()) {
        event->ignore();
        return;
    }
    event->accept();
    loop_.quit();
}

// Questions still open are closed and a wait still running is ended first; the session is
// closed once they have returned.
void CMainFrame::EndNow() {
    setProgramExiting(true);
    loop_.requestClose();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isModal() && window->isVisible()) window->close();
    if (loop_.Waiting() || QApplication::activeModalWidget()) {
        QTimer::singleShot(kEndRetryMs, this, [this] { EndNow(); });
        return;
    }
    if (doc_) doc_->CloseWithoutQuestions();
    loop_.quit();
}
