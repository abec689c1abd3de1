#pragma once
// The pages of the demo host. Each has a code reached by "go CODE", a title shown with the code
// as the page's whole first row ("자유게시판 (FREE)"), and two functions: one draws the rest of
// the page, the other takes a line typed on it. Adding a page is one row of the table in
// DemoPages.cpp and its two functions.
#include <string>
#include <string_view>
#include <vector>

class DemoSession;

struct DemoPage {
    const char* code;   // letters and digits
    const char* title;  // UTF-8
    int number;         // its number on the main menu; 0 when it is not listed there
    void (*show)(DemoSession&);
    // False when the line is none of the page's own commands.
    bool (*command)(DemoSession&, const std::string& line);
    // The page draws its own first row (the Go board's column letters): no title row.
    bool ownFirstRow = false;
    // The page keeps its prompt on the bottom row: a typed line's end echoes CR alone.
    bool promptOnLastRow = false;
};

const std::vector<DemoPage>& DemoPages();
// The page of a code, in any case; nullptr when there is none.
const DemoPage* FindPage(std::string_view code);
// The page listed under a menu number, or nullptr.
const DemoPage* MenuPage(int number);

// A row of a box `columns` wide inside its frame (colour sequence `frame`), and its top or
// bottom edge with the given corners; KS C 5601 line-drawing characters, two columns each.
std::string BoxRow(const std::string& text, int columns, const std::string& frame);
std::string BoxEdge(const char* left, const char* right, int columns, const std::string& frame);

// The pages' functions.
void ShowWelcome(DemoSession& s);
void ShowTop(DemoSession& s);
void ShowArt(DemoSession& s);
void ShowBoard(DemoSession& s);
bool BoardCommand(DemoSession& s, const std::string& line);
void ShowFiles(DemoSession& s);
bool FilesCommand(DemoSession& s, const std::string& line);
void ShowChat(DemoSession& s);
void ShowImage(DemoSession& s);
bool ChatCommand(DemoSession& s, const std::string& line);
void ShowVideotex(DemoSession& s);
void ShowGo(DemoSession& s);
bool GoCommand(DemoSession& s, const std::string& line);
