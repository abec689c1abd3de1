#pragma once
// The program's main window: the terminal view inside the menus, bars and status bar, the
// session's window (SessionFrame), the commands of the menus, and the close query.
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

#include "app/gui/CQuillonView.h"
#include "app/gui/CommandMenus.h"
#include "app/gui/QtEventLoop.h"
#include "auto/Registry.h"
#include "link/SessionFrame.h"
#include "platform/ProcessLauncher.h"
#include "platform/Prompt.h"

class CQuillonDoc;

class CMainFrame : public QMainWindow, public SessionFrame {
public:
    static constexpr int kDefaultWidth = 598;
    static constexpr int kDefaultHeight = 502;

    CMainFrame(Registry& registry, QtEventLoop& loop, Prompt& prompt);
    ~CMainFrame() override;

    CQuillonView& View() { return *view_; }
    Registry& registry() { return registry_; }
    QtEventLoop& loop() { return loop_; }
    Prompt& prompt() { return prompt_; }
    // From now on the view sends to the session and idle passes pump it.
    void Attach(CQuillonDoc& doc);
    CQuillonDoc* Doc() { return doc_; }

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

    // Stores what the window keeps between runs (placement, bars); nothing once exiting.
    void SaveWindowState();

    // SessionFrame.
    void SetTitle(const std::string& title) override;
    void ShowStatus(const std::string& text) override;
    void SetOnline(bool online) override;
    void SetLinkMode(int mode, const std::string& device) override;
    void ClearScreen() override;
    bool ScrolledBack() override { return view_->ScrolledBack(); }
    void HandOff(const std::vector<std::string>& args) override;
    void OpenCommSettings() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool onIdle();
    void registerCommands();
    void fitToView(QSize client);
    void connectToHost();

    Registry& registry_;
    QtEventLoop& loop_;
    Prompt& prompt_;
    CQuillonView* view_;
    CommandMenus menus_;
    std::map<int, Handler> handlers_;
    CQuillonDoc* doc_ = nullptr;
    ProcessLauncher launcher_;
};
