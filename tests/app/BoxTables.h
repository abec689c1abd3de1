#pragma once
// Tables with crossings in each line set of the Korean code's box row (thin, thick, thin
// verticals with thick horizontals, thick verticals with thin horizontals), and how a host
// that draws box characters one cell wide shows them: the vertical stroke in the left cell,
// the right arm carried on into the right one.
struct BoxTable {
    const char* page[5];
    const char* narrow[5];
};
const BoxTable kBoxTables[] = {
    {{"┌─┬─┐", "│가│나│", "├─┼─┤", "│  │  │", "└─┴─┘"},
     {"┌───┬───┐", "│ 가│ 나│", "├───┼───┤", "│   │   │", "└───┴───┘"}},
    {{"┏━┳━┓", "┃가┃나┃", "┣━╋━┫", "┃  ┃  ┃", "┗━┻━┛"},
     {"┏━━━┳━━━┓", "┃ 가┃ 나┃", "┣━━━╋━━━┫", "┃   ┃   ┃", "┗━━━┻━━━┛"}},
    {{"┍━┯━┑", "│가│나│", "┝━┿━┥", "│  │  │", "┕━┷━┙"},
     {"┍━━━┯━━━┑", "│ 가│ 나│", "┝━━━┿━━━┥", "│   │   │", "┕━━━┷━━━┙"}},
    {{"┎─┰─┒", "┃가┃나┃", "┠─╂─┨", "┃  ┃  ┃", "┖─┸─┚"},
     {"┎───┰───┒", "┃ 가┃ 나┃", "┠───╂───┨", "┃   ┃   ┃", "┖───┸───┚"}},
};
