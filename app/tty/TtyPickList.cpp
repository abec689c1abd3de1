#include "app/tty/TtyPickList.h"

#include <algorithm>

namespace {

// The title, then the column headings.
constexpr int kHeadLines = 2;

int digitsOf(size_t n) {
    int digits = 1;
    for (; n >= 10; n /= 10)
        ++digits;
    return digits;
}

std::string rightAligned(const std::string& text, int cells) {
    return std::string(static_cast<size_t>(std::max(0, cells - DisplayWidth(text))), ' ') + text;
}

}  // namespace

TtyPickList::TtyPickList(std::string title, std::vector<TtyPickColumn> columns)
    : title_(std::move(title)), columns_(std::move(columns)) {}

void TtyPickList::SetRows(std::vector<std::vector<std::string>> rows) {
    SetSections({TtyPickSection{"", std::move(rows)}});
}

void TtyPickList::SetSections(std::vector<TtyPickSection> sections) {
    sections_ = std::move(sections);
    typed_.clear();
    layOut();
    cursor_ = rowCount() == 0 ? 0 : std::min(cursor_, rowCount() - 1);
}

void TtyPickList::layOut() {
    items_.clear();
    rowRefs_.clear();
    itemOfRow_.clear();
    for (size_t s = 0; s < sections_.size(); ++s) {
        if (!sections_[s].heading.empty()) items_.push_back({true, s, 0});
        for (size_t r = 0; r < sections_[s].rows.size(); ++r) {
            itemOfRow_.push_back(items_.size());
            items_.push_back({false, s, rowRefs_.size()});
            rowRefs_.push_back({s, r});
        }
    }
}

void TtyPickList::Open() {
    shown_ = true;
    typed_.clear();
    cursor_ = 0;
}

void TtyPickList::Resize(int width, int height) {
    width_ = std::max(width, 1);
    height_ = std::max(height, kHeadLines + 1);
}

int TtyPickList::itemsPerPage() const {
    return height_ - kHeadLines;
}

int TtyPickList::pageOf(size_t row) const {
    return static_cast<int>(itemOfRow_[row]) / itemsPerPage();
}

int TtyPickList::Page() const {
    return rowCount() == 0 ? 0 : pageOf(cursor_);
}

int TtyPickList::PageCount() const {
    const int items = static_cast<int>(items_.size());
    return std::max(1, (items + itemsPerPage() - 1) / itemsPerPage());
}

std::optional<TtyPickRow> TtyPickList::Current() const {
    if (rowCount() == 0) return std::nullopt;
    return rowRefs_[cursor_];
}

bool TtyPickList::OnKey(const TtyKey& key) {
    if (!shown_) return false;
    using Kind = TtyKey::Kind;
    const bool digit = (key.kind == Kind::Text || key.kind == Kind::Keypad) &&
                       key.text.size() == 1 && key.text[0] >= '0' && key.text[0] <= '9';
    if (key.kind == Kind::Escape) {
        shown_ = false;
    } else if (digit) {
        typeDigit(key.text[0]);
    } else if (key.kind == Kind::Text && key.text == "\r") {
        typed_.clear();  // a number that could still grow is taken as it stands
        if (rowCount() > 0) pick(cursor_);
    } else if (key.kind == Kind::Backspace && !typed_.empty()) {
        typed_.pop_back();
    } else if (key.kind == Kind::Key && (key.key == TWKey::Up || key.key == TWKey::Down)) {
        moveCursorBy(key.key == TWKey::Up ? -1 : 1);
    } else if (key.kind == Kind::PageUp || key.kind == Kind::PageDown) {
        moveToPage(Page() + (key.kind == Kind::PageUp ? -1 : 1));
    } else if (key.kind == Kind::Home || key.kind == Kind::End) {
        cursor_ = key.kind == Kind::Home || rowCount() == 0 ? 0 : rowCount() - 1;
    } else if (otherKey) {
        otherKey(key, Current());
    }
    return true;
}

// A number is picked as soon as no further digit could make another row's number; until then
// the cursor shows the row it names.
void TtyPickList::typeDigit(char digit) {
    typed_ += digit;
    const size_t number = std::stoul(typed_);
    if (number == 0 || number > rowCount()) {
        typed_.clear();
        return;
    }
    cursor_ = number - 1;
    if (number * 10 > rowCount()) {
        typed_.clear();
        pick(cursor_);
    }
}

void TtyPickList::pick(size_t row) {
    shown_ = false;
    if (picked) picked(rowRefs_[row]);
}

void TtyPickList::moveCursorBy(long rows) {
    if (rowCount() == 0) return;
    const long last = static_cast<long>(rowCount()) - 1;
    cursor_ = static_cast<size_t>(std::clamp(static_cast<long>(cursor_) + rows, 0L, last));
    typed_.clear();
}

// The cursor goes to the first row of the page; past the first or the last page, to the first
// or the last row.
void TtyPickList::moveToPage(int page) {
    typed_.clear();
    if (rowCount() == 0) return;
    if (page >= PageCount()) {
        cursor_ = rowCount() - 1;
        return;
    }
    size_t row = 0;
    while (row + 1 < rowCount() && pageOf(row) < page)
        ++row;
    cursor_ = row;
}

std::string TtyPickList::rowText(const Item& item) const {
    if (item.heading) return "[" + sections_[item.section].heading + "]";
    const TtyPickRow ref = rowRefs_[item.row];
    const std::vector<std::string>& cells = sections_[ref.section].rows[ref.row];
    const int numberCells = std::max(2, digitsOf(rowCount()));
    std::string text = rightAligned(std::to_string(item.row + 1), numberCells);
    int used = numberCells;
    for (size_t c = 0; c < columns_.size() && used + 1 < width_; ++c) {
        const int room = width_ - used - 1;
        const int fit = columns_[c].width > 0 ? std::min(columns_[c].width, room) : room;
        text += " " + FitToWidth(c < cells.size() ? cells[c] : "", fit);
        used += 1 + fit;
    }
    return text;
}

std::vector<TtyTextLine> TtyPickList::Lines() const {
    std::vector<TtyTextLine> lines;
    std::string title = " " + title_;
    if (PageCount() > 1) {
        const std::string page =
            std::to_string(Page() + 1) + "/" + std::to_string(PageCount()) + "쪽 ";
        title = FitToWidth(title, width_ - DisplayWidth(page)) + page;
    }
    lines.push_back({FitToWidth(title, width_)});
    std::string headings(static_cast<size_t>(std::max(2, digitsOf(rowCount()))), ' ');
    for (const TtyPickColumn& column : columns_)
        headings +=
            " " + (column.width > 0 ? FitToWidth(column.heading, column.width) : column.heading);
    lines.push_back({FitToWidth(headings, width_)});
    const size_t first = static_cast<size_t>(Page() * itemsPerPage());
    for (size_t i = first; i < items_.size() && i < first + itemsPerPage(); ++i) {
        const bool atCursor = !items_[i].heading && items_[i].row == cursor_;
        lines.push_back({FitToWidth(rowText(items_[i]), width_), atCursor});
    }
    lines.resize(static_cast<size_t>(height_), {std::string(static_cast<size_t>(width_), ' ')});
    return lines;
}

std::string TtyPickList::StatusText() const {
    if (typed_.empty()) return " " + hint_;
    return " 번호 " + typed_ + "  " + hint_;
}
