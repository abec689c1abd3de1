#pragma once
// The program's main window: the terminal view (or, in web mode, the web page) inside the menus,
// bars and status bar, the session's window (SessionFrame), the commands of the menus, the
// stored placement, and the close query.
#include <QMainWindow>
#include <QStackedWidget>
#include <functional>
#include <map>
#include <memory>

#include "app/gui/AutoMacroPanel.h"
#include "app/gui/BookmarkPanel.h"
#include "app/gui/CQuillonView.h"
#include "app/gui/CommandMenus.h"
#include "app/gui/FrameBars.h"
#include "app/gui/MacroPanel.h"
#include "app/gui/QtEventLoop.h"
#include "app/gui/StatusPanes.h"
#include "auto/CSettingsSection.h"
#include "auto/Registry.h"
#include "link/DialupBackend.h"
#include "link/SessionFrame.h"
#include "platform/Clock.h"
#include "platform/ProcessLauncher.h"
#include "platform/Prompt.h"

class ChatDocks;
class CQuillonDoc;
class GuiCapture;

class CMainFrame : public QMainWindow, public SessionFrame {
public:
    static constexpr int kDefaultWidth = 598;
    static constexpr int kDefaultHeight = 502;

    // clock: the status bar's connection time.
    CMainFrame(Registry& registry, QtEventLoop& loop, Prompt& prompt,
               Clock& clock = Clock::steady());
    ~CMainFrame() override;

    CQuillonView& View() { return *view_; }
    Registry& registry() { return registry_; }
    QtEventLoop& loop() { return loop_; }
    Prompt& prompt() { return prompt_; }
    // From now on the view sends to the session and idle passes pump it.
    void Attach(CQuillonDoc& doc);
    CQuillonDoc* Doc() { return doc_; }
    // The session's capture, once attached.
    GuiCapture* ScreenCapture() { return capture_.get(); }
    ProcessLauncher& Launcher() { return launcher_; }

    // What a command does, and when given, whether it shows checked and whether it can run now.
    struct Handler {
        std::function<void()> run = nullptr;
        std::function<bool()> checked = nullptr;
        std::function<bool()> enabled = nullptr;
    };
    void SetCommand(int id, Handler handler);
    // Runs a command as its menu item would; false when it has no handler or cannot run now.
    bool RunCommand(int id);
    QAction* Action(int id) const { return menus_.Action(id); }
    // Check marks and availability brought up to date (before a menu opens).
    void UpdateCommands();
    // "메뉴(&U)", the whole main menu as one pop-up (Alt+U, the view's context menu).
    QMenu* MainMenuPopup() const { return menus_.Popup(); }
    FrameBars& Bars() { return bars_; }
    StatusPanes& Panes() { return panes_; }

    // Before the window shows: the size, maximised state and (where the window system lets
    // programs place windows) the position stored for the current mode, moved onto a screen
    // when it lies off them all; the default size when nothing is stored. A position where
    // `positionTaken` says another copy's window stands is not used: the result is then true.
    bool RestorePlacement(const std::function<bool(QPoint)>& positionTaken = nullptr);
    // Called with the window's top-left corner when it shows and whenever it moves.
    std::function<void(QPoint)> windowMoved;
    // Dial-up networking, for the "인터넷 연결" page of the communication settings; null: no page.
    DialupBackend* dialup = nullptr;
    // Stores what the window keeps between runs (placement, bars); nothing once exiting.
    void SaveWindowState();

    // Web mode: the web page in place of the terminal, with the bars of the web window and
    // its placement ("WebPos" instead of "WindowPos").
    bool WebMode() const { return bars_.WebMode(); }
    void SetWebMode(bool on);

    // The program is asked to end from outside (a termination signal): no questions, nothing
    // stored; a running transfer is stopped and waited for.
    void EndNow();

    // SessionFrame.
    void SetTitle(const std::string& title) override;
    void ShowStatus(const std::string& text) override;
    void SetOnline(bool online) override;
    void SetLinkMode(int mode, const std::string& device) override;
    void ClearScreen() override;
    bool ScrolledBack() override { return view_->ScrolledBack(); }
    void HandOff(const std::vector<std::string>& args) override;
    void OpenCommSettings() override;
    void LinkActivity(bool received, bool sent) override;
    void PostCommand(int id) override { RunCommand(id); }
    void EnableFrame(bool enabled) override { setEnabled(enabled); }
    bool ChooseLogin(const std::vector<Record>& ids, LoginChoice& choice) override;
    void AttractUser() override;
    void RedrawNow() override;
    VtxHost* VideotexWindow() override { return &view_->VideotexWindow(); }
    void VideotexMode(bool on) override { view_->SetVideotexMode(on); }
    // The icon panel's auto macros follow the session's list.
    void ServiceChanged() override;
    void ShowBookmarksPage() override;
    void ShowLocation(const std::string& title, const std::string& code) override;
    bool EditBookmark(Record& bookmark) override;
    void PlacesChanged() override;
    // The icon panel's pages drawn again from the session (presence and room news).
    void RedrawIconPanel();
    // Null until a session is attached.
    ChatDocks* Chat() { return chat_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool onIdle();
    void registerCommands();
    void fitToView(QSize client);
    void connectToHost();
    void openTypedHost(const QString& typed);
    void showAbout();
    void showMainMenu(QPoint at);
    void showInputState();
    void reportPosition();
    std::string placementName() const;
    void savePlacement();
    // True when the stored position was used.
    bool applyPlacement(const WindowPlacement& placement,
                        const std::function<bool(QPoint)>& positionTaken);

    Registry& registry_;
    QtEventLoop& loop_;
    Prompt& prompt_;
    CQuillonView* view_;
    QStackedWidget* pages_;
    CommandMenus menus_;
    FrameBars bars_;
    StatusPanes panes_;
    AutoMacroPanel* autoMacros_;
    MacroPanel* macros_;
    BookmarkPanel* bookmarks_;
    CSettingsSection settings_;
    std::map<int, Handler> handlers_;
    CQuillonDoc* doc_ = nullptr;
    ProcessLauncher launcher_;
    std::unique_ptr<GuiCapture> capture_;
    std::unique_ptr<ChatDocks> chat_;
    std::string title_;
    bool online_ = false;
};
