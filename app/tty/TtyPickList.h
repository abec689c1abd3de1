#pragma once
// A list drawn over the tty's screen to pick from: numbered rows of texts in columns, optional
// section headings, pages when the rows do not fit. A number or Enter picks a row and closes the
// list; Esc closes it and the screen comes back as it was. Other keys go to the owner, which may
// ask on the status line and replace the rows while the list shows. The owner keeps the object;
// the front end shows it (TtyFrontEnd::ShowPickList), sizes it and routes the keys to it.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/tty/TtyKeys.h"
#include "app/tty/TtyScreen.h"

struct TtyPickColumn {
    std::string heading;  // UTF-8
    int width = 0;        // cells; 0 for the last column: the rest of the line
};

struct TtyPickSection {
    std::string heading;                         // UTF-8; empty: no heading line
    std::vector<std::vector<std::string>> rows;  // per row a UTF-8 text per column
};

// A row by its section and its place in that section.
struct TtyPickRow {
    size_t section = 0;
    size_t row = 0;
    bool operator==(const TtyPickRow&) const = default;
};

class TtyPickList {
public:
    // Runs after the list has closed; it may show the list again.
    std::function<void(TtyPickRow picked)> picked;
    // A key the list has no use for, with the row under the cursor (none when the list is
    // empty); true when the owner took it. Keys nobody takes are dropped while the list shows.
    std::function<bool(const TtyKey& key, std::optional<TtyPickRow> current)> otherKey;

    // title: the top line (UTF-8); the rows are numbered in a column before `columns`.
    TtyPickList(std::string title, std::vector<TtyPickColumn> columns);

    void SetTitle(std::string title) { title_ = std::move(title); }
    // One section without a heading.
    void SetRows(std::vector<std::vector<std::string>> rows);
    // Rows are numbered through all sections; the cursor stays on its number where it can.
    void SetSections(std::vector<TtyPickSection> sections);
    // What the status line says while the list shows (UTF-8), after the typed number.
    void SetHint(std::string hint) { hint_ = std::move(hint); }

    // The front end shows it: no number typed yet, the cursor on the first row.
    void Open();
    bool Shown() const { return shown_; }
    // Closes it as Esc would (from the owner's key handler).
    void Close() { shown_ = false; }
    // The screen's size: `height` lines for the title, the headings and the rows.
    void Resize(int width, int height);
    // False while the list is not shown; otherwise the key is taken (and may have closed it).
    bool OnKey(const TtyKey& key);

    // The lines drawn over the screen, each exactly `width` cells, the cursor's row
    // highlighted.
    std::vector<TtyTextLine> Lines() const;
    std::string StatusText() const;
    int Page() const;
    int PageCount() const;
    std::optional<TtyPickRow> Current() const;

private:
    // One drawn line below the headings: a section heading, or row `row` of the numbering.
    struct Item {
        bool heading = false;
        size_t section = 0;
        size_t row = 0;  // numbering over all sections (0-based), for a row
    };

    void layOut();
    size_t rowCount() const { return rowRefs_.size(); }
    int itemsPerPage() const;
    int pageOf(size_t row) const;
    void moveCursorBy(long rows);
    void moveToPage(int page);
    void typeDigit(char digit);
    void pick(size_t row);
    std::string rowText(const Item& item) const;

    std::string title_;
    std::vector<TtyPickColumn> columns_;
    std::vector<TtyPickSection> sections_;
    std::string hint_;
    std::vector<Item> items_;
    std::vector<TtyPickRow> rowRefs_;  // by number
    std::vector<size_t> itemOfRow_;    // by number: its place in items_
    size_t cursor_ = 0;
    std::string typed_;  // digits of a number being typed
    bool shown_ = false;
    int width_ = 80;
    int height_ = 24;
};
