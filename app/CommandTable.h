#pragma once
// The program's commands in one table, from which the window's menus, shortcuts, status texts
// and tool tips and the tty front end's command letters and command list are all built. Ids
// are stable: auto macros store them. Texts are UTF-8.
#include <string>
#include <vector>

namespace Cmd {
constexpr int ConnectHost = 32771;
constexpr int TelnetEntry = 32772;
constexpr int ModemEntry = 32773;
constexpr int HangUp = 32774;
constexpr int Exit = 32775;
constexpr int Copy = 32781;
constexpr int Paste = 32782;
constexpr int CopyScreen = 32783;
constexpr int CopyScrollback = 32784;
constexpr int RestoreColors = 32785;
constexpr int ToggleMenu = 32791;
constexpr int ToggleStatusBar = 32792;
constexpr int ToggleStdTool = 32793;
constexpr int ToggleMoveTool = 32794;
constexpr int ToggleExtTool = 32795;
constexpr int ToggleDockTop = 32796;
constexpr int ToggleToolView = 32797;
constexpr int ToggleHistWnd = 32798;
constexpr int WebMode = 32799;
constexpr int ToggleWebTool = 32800;
constexpr int ScreenSettings = 32801;
constexpr int AddRow = 32802;
constexpr int RemoveRow = 32803;
constexpr int ScrollBack = 32804;
constexpr int ModemMode = 32811;
constexpr int TelnetMode = 32812;
constexpr int AnswerMode = 32813;
constexpr int CommSettings = 32814;
constexpr int SendFile = 32815;
constexpr int ReceiveFile = 32816;
constexpr int ConnectInternet = 32817;
constexpr int DialupFolder = 32818;
constexpr int SmartMouse = 32821;
constexpr int Wallpaper = 32822;
constexpr int Johab = 32823;
constexpr int BadukMode = 32824;
constexpr int AutoCopy = 32825;
constexpr int VT220 = 32826;
constexpr int AutoMacro = 32827;
constexpr int UseLogin = 32828;
constexpr int UseAutoLogin = 32829;
constexpr int MacroSettings = 32830;
constexpr int FolderSettings = 32831;
constexpr int SoundSettings = 32832;
constexpr int LoginSettings = 32833;
constexpr int About = 32841;
constexpr int CaptureStart = 32861;  // start, or finish with saving
constexpr int CapturePause = 32862;
constexpr int CaptureEnd = 32863;
constexpr int CaptureView = 32864;
constexpr int CaptureText = 32865;
constexpr int CaptureCode = 32866;
constexpr int SaveScreen = 32867;
constexpr int FileManager = 32868;
constexpr int ChatBar = 32901;
constexpr int ChatRoomMode = 32902;
constexpr int ReceivedMemos = 32903;
constexpr int WriteMemo = 32904;
constexpr int Participants = 32905;
constexpr int DosMode = 32910;
// The service commands, in the order of ServiceCommands(): ServiceCommand + index.
constexpr int ServiceCommand = 32881;
constexpr int PreviousMessage = ServiceCommand + 6;
constexpr int NextMessage = ServiceCommand + 7;
constexpr int AddBookmark = 32896;
constexpr int EditBookmarks = 32897;
constexpr int ServiceRecord = 32898;
constexpr int RecentPlaces = 32899;
constexpr int ServiceCommandList = 32900;
}  // namespace Cmd

// The top-level menus, in menu-bar order. Their mnemonics leave Alt+C, Alt+L, Alt+T, Alt+U and
// Alt+Z to the commands that use them.
enum class MenuGroup { File, Edit, View, Comm, Move, Options, Help };

struct MenuTitle {
    MenuGroup group;
    std::string text;  // with its "&" mnemonic
};

struct Command {
    int id;
    MenuGroup group;
    std::string text;      // menu text with its "&" mnemonic
    std::string status;    // shown in the status bar while the item is highlighted
    std::string tip;       // tool tip of a tool-bar button
    std::string shortcut;  // the window's shortcut, in Qt's portable key notation; "" none
    char ttyLetter = 0;    // the letter after the tty's command key; 0 none
    std::string ttyLabel;  // the letter's word in the tty's command list
    bool checkable = false;
    bool separatorBefore = false;
};

const std::vector<MenuTitle>& menuTitles();
const std::vector<Command>& commandTable();
// Null when no command has the id or the letter (letters compare without case).
const Command* findCommand(int id);
const Command* commandForLetter(char letter);
// The tty's command list: "q 끝내기  h 끊기  ..." in table order.
std::string ttyCommandList();
