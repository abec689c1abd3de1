#pragma once
// The main window's bars and side windows, each shown by a toggle stored in `Settings` (all on
// at first) and by the mode. The terminal's tool bars "STD_TOOL", "MOV_TOOL" and "EXT_TOOL"
// (top or right edge) give way in web mode to the web tool bar "WEB_TOOL", which is made when
// first needed; web mode always shows the history window and the top docking bar.
#include <QComboBox>
#include <QDockWidget>
#include <QListWidget>
#include <QMainWindow>
#include <QToolBar>
#include <QVBoxLayout>
#include <array>
#include <functional>

#include "app/gui/CommandMenus.h"
#include "auto/Registry.h"

class FrameBars {
public:
    enum Bar { Menu, StatusBar, StdTool, MoveTool, ExtTool, DockTop, ToolView, HistWnd, WebTool };
    static constexpr int kBarCount = WebTool + 1;
    struct Toggle {
        Bar bar;
        int command;          // the menu command that flips it
        const char* setting;  // its value in `Settings`
    };
    static const std::array<Toggle, kBarCount>& Toggles();

    FrameBars(QMainWindow& window, const CommandMenus& menus, Registry& registry);

    bool On(Bar bar) const { return on_[bar]; }
    void Flip(Bar bar);
    bool WebMode() const { return webMode_; }
    void SetWebMode(bool on);
    // Writes the nine toggles.
    void SaveToggles();
    // Whether the bar is part of the window now (shown while the window is).
    bool Shown(Bar bar) const;

    // A line at the end of the history window.
    void AddHistory(const QString& line);
    // The history window's places beside its lines (recent locations and menus).
    void ShowPlaces(const QStringList& lines);
    // A host typed into the top docking bar (its list holds the recent hosts).
    std::function<void(const QString&)> hostTyped;
    void RefreshRecentHosts();
    // Adds a page below the icon panel's commands.
    void AddPanelPage(QWidget* page);

private:
    QToolBar* addToolBar(const char* name, const QString& caption, std::initializer_list<int> ids,
                         Qt::ToolBarAreas areas);
    QDockWidget* addDock(const char* name, const QString& caption, QWidget* inside,
                         Qt::DockWidgetArea area);
    void makeIconPanel();
    void makeTopBar();
    void apply();
    QWidget* widget(Bar bar) const;

    QMainWindow& window_;
    const CommandMenus& menus_;
    Registry& registry_;
    std::array<bool, kBarCount> on_{};
    bool webMode_ = false;
    QToolBar* stdTool_;
    QToolBar* moveTool_;
    QToolBar* extTool_;
    QToolBar* topBar_ = nullptr;
    QComboBox* hosts_ = nullptr;
    QDockWidget* iconPanel_ = nullptr;
    QVBoxLayout* panelPages_ = nullptr;
    QDockWidget* history_;
    QListWidget* historyList_;
    QListWidget* placesList_;
    QToolBar* webTool_ = nullptr;
};
