#include "app/gui/FrameBars.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>

#include "app/CommandTable.h"
#include "app/gui/HostDialog.h"
#include "auto/CSettingsSection.h"

namespace {

constexpr int kSeparator = 0;
constexpr int kHistoryLines = 500;
constexpr int kHistoryHeight = 48;  // a few lines: the terminal keeps the room
constexpr int kPanelIconSize = 32;

// The icon panel's commands with their pictures.
const std::pair<int, QStyle::StandardPixmap> kPanelCommands[] = {
    {Cmd::ConnectHost, QStyle::SP_DriveNetIcon},
    {Cmd::TelnetEntry, QStyle::SP_ComputerIcon},
    {Cmd::ModemEntry, QStyle::SP_DriveHDIcon},
    {Cmd::HangUp, QStyle::SP_BrowserStop},
    {Cmd::CommSettings, QStyle::SP_FileDialogDetailedView},
    {Cmd::ScreenSettings, QStyle::SP_DesktopIcon},
    {Cmd::FolderSettings, QStyle::SP_DirIcon},
    {Cmd::SoundSettings, QStyle::SP_MediaVolume},
};

}  // namespace

const std::array<FrameBars::Toggle, FrameBars::kBarCount>& FrameBars::Toggles() {
    static const std::array<Toggle, kBarCount> toggles{{
        {Menu, Cmd::ToggleMenu, "UseMenu"},
        {StatusBar, Cmd::ToggleStatusBar, "UseStatBar"},
        {StdTool, Cmd::ToggleStdTool, "UseStdTool"},
        {MoveTool, Cmd::ToggleMoveTool, "UseMoveTool"},
        {ExtTool, Cmd::ToggleExtTool, "UseExtTool"},
        {DockTop, Cmd::ToggleDockTop, "UseDockTop"},
        {ToolView, Cmd::ToggleToolView, "UseToolView"},
        {HistWnd, Cmd::ToggleHistWnd, "UseHistWnd"},
        {WebTool, Cmd::ToggleWebTool, "UseWebTool"},
    }};
    return toggles;
}

FrameBars::FrameBars(QMainWindow& window, const CommandMenus& menus, Registry& registry)
    : window_(window), menus_(menus), registry_(registry) {
    CSettingsSection settings(registry_, "Settings");
    for (const Toggle& t : Toggles())
        on_[t.bar] = settings.GetInt(t.setting, 1) != 0;
    window_.setContextMenuPolicy(Qt::NoContextMenu);  // the bars follow their toggles only

    makeTopBar();
    window_.addToolBarBreak();
    const Qt::ToolBarAreas edges = Qt::TopToolBarArea | Qt::RightToolBarArea;
    stdTool_ =
        addToolBar("STD_TOOL", "표준 도구 모음",
                   {Cmd::ConnectHost, Cmd::TelnetEntry, Cmd::ModemEntry, Cmd::HangUp, kSeparator,
                    Cmd::Copy, Cmd::Paste, kSeparator, Cmd::CommSettings, Cmd::ScreenSettings},
                   edges);
    // The service's moves (the first nine service commands), then the view's.
    const int move = Cmd::ServiceCommand;
    moveTool_ = addToolBar("MOV_TOOL", "이동 도구 모음",
                           {move, move + 1, move + 2, move + 3, move + 4, move + 5, move + 6,
                            move + 7, move + 8, kSeparator, Cmd::AddBookmark, kSeparator,
                            Cmd::ScrollBack, kSeparator, Cmd::AddRow, Cmd::RemoveRow},
                           edges);
    extTool_ = addToolBar(
        "EXT_TOOL", "확장 도구 모음",
        {Cmd::SmartMouse, Cmd::Wallpaper, Cmd::Johab, Cmd::BadukMode, Cmd::AutoCopy, Cmd::VT220},
        edges);
    makeIconPanel();
    historyList_ = new QListWidget;
    historyList_->setObjectName("history");
    historyList_->setMinimumHeight(kHistoryHeight / 2);
    placesList_ = new QListWidget;
    placesList_->setObjectName("places");
    auto* history = new QSplitter;
    history->addWidget(historyList_);
    history->addWidget(placesList_);
    history_ = addDock("HISTORY", "기록 창", history, Qt::BottomDockWidgetArea);
    window_.resizeDocks({history_}, {kHistoryHeight}, Qt::Vertical);
    apply();
}

QToolBar* FrameBars::addToolBar(const char* name, const QString& caption,
                                std::initializer_list<int> ids, Qt::ToolBarAreas areas) {
    auto* bar = new QToolBar(caption, &window_);
    bar->setObjectName(name);
    bar->setAllowedAreas(areas);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (int id : ids) {
        if (id == kSeparator)
            bar->addSeparator();
        else
            bar->addAction(menus_.Action(id));
    }
    window_.addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QDockWidget* FrameBars::addDock(const char* name, const QString& caption, QWidget* inside,
                                Qt::DockWidgetArea area) {
    auto* dock = new QDockWidget(caption, &window_);
    dock->setObjectName(name);
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setTitleBarWidget(new QWidget);  // fixed in place: no title bar taking room
    dock->setAllowedAreas(area);
    dock->setWidget(inside);
    window_.addDockWidget(area, dock);
    return dock;
}

// The icon panel: the commands used most, as pictures named by their tool tips, in a column as
// wide as the `IconBar` value "Width".
void FrameBars::makeIconPanel() {
    auto* column = new QToolBar;
    column->setOrientation(Qt::Vertical);
    column->setToolButtonStyle(Qt::ToolButtonIconOnly);
    column->setIconSize(QSize(kPanelIconSize, kPanelIconSize));
    for (const auto& [id, picture] : kPanelCommands) {
        QAction* action = menus_.Action(id);
        action->setIcon(window_.style()->standardIcon(picture));
        column->addAction(action);
    }
    auto* panel = new QWidget;
    panelPages_ = new QVBoxLayout(panel);
    panelPages_->setContentsMargins(0, 0, 0, 0);
    panelPages_->addWidget(column);
    panelPages_->addStretch();
    iconPanel_ = addDock("ICON_PANEL", "아이콘 패널", panel, Qt::LeftDockWidgetArea);
    const int width = CSettingsSection(registry_, "IconBar").GetInt("Width", 62);
    window_.resizeDocks({iconPanel_}, {std::max(width, kPanelIconSize)}, Qt::Horizontal);
}

// The top docking bar: a host typed here, or one of the recent hosts, is connected at once.
void FrameBars::makeTopBar() {
    topBar_ = new QToolBar("위쪽 막대", &window_);
    topBar_->setObjectName("DOCK_TOP");
    topBar_->setAllowedAreas(Qt::TopToolBarArea);
    topBar_->setMovable(false);
    topBar_->addWidget(new QLabel(" 호스트: "));
    hosts_ = new QComboBox;
    hosts_->setEditable(true);
    hosts_->setInsertPolicy(QComboBox::NoInsert);
    hosts_->setMinimumContentsLength(24);
    hosts_->setToolTip("연결할 텔넷 호스트 [포트]");
    topBar_->addWidget(hosts_);
    QObject::connect(hosts_->lineEdit(), &QLineEdit::returnPressed, &window_, [this] {
        const QString typed = hosts_->currentText();
        if (hostTyped) hostTyped(typed);
        RefreshRecentHosts();
    });
    window_.addToolBar(Qt::TopToolBarArea, topBar_);
    RefreshRecentHosts();
}

void FrameBars::AddPanelPage(QWidget* page) {
    panelPages_->insertWidget(panelPages_->count() - 1, page);  // above the stretch
}

void FrameBars::RefreshRecentHosts() {
    hosts_->clear();
    hosts_->addItems(RecentHosts(registry_));
    hosts_->setCurrentText("");
}

void FrameBars::Flip(Bar bar) {
    on_[bar] = !on_[bar];
    apply();
}

void FrameBars::SetWebMode(bool on) {
    webMode_ = on;
    if (webMode_ && !webTool_) {
        webTool_ = addToolBar("WEB_TOOL", "도구 모음", {Cmd::WebMode, kSeparator, Cmd::Copy},
                              Qt::TopToolBarArea);
    }
    apply();
}

void FrameBars::SaveToggles() {
    CSettingsSection settings(registry_, "Settings");
    for (const Toggle& t : Toggles())
        settings.SetInt(t.setting, on_[t.bar] ? 1 : 0);
}

QWidget* FrameBars::widget(Bar bar) const {
    switch (bar) {
        case Menu:
            return window_.menuBar();
        case StatusBar:
            return window_.statusBar();
        case StdTool:
            return stdTool_;
        case MoveTool:
            return moveTool_;
        case ExtTool:
            return extTool_;
        case DockTop:
            return topBar_;
        case ToolView:
            return iconPanel_;
        case HistWnd:
            return history_;
        case WebTool:
            return webTool_;
    }
    return nullptr;
}

void FrameBars::apply() {
    const bool terminal = !webMode_;
    for (const Toggle& t : Toggles()) {
        bool shown = on_[t.bar];
        if (t.bar == StdTool || t.bar == MoveTool || t.bar == ExtTool) shown = shown && terminal;
        if (t.bar == DockTop || t.bar == HistWnd) shown = shown || webMode_;
        if (t.bar == WebTool) shown = shown && webMode_;
        if (QWidget* w = widget(t.bar)) w->setVisible(shown);
    }
}

bool FrameBars::Shown(Bar bar) const {
    const QWidget* w = widget(bar);
    return w && !w->isHidden();
}

void FrameBars::AddHistory(const QString& line) {
    historyList_->addItem(line);
    while (historyList_->count() > kHistoryLines)
        delete historyList_->takeItem(0);
    historyList_->scrollToBottom();
}

void FrameBars::ShowPlaces(const QStringList& lines) {
    placesList_->clear();
    placesList_->addItems(lines);
}
