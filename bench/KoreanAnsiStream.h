#pragma once
// A host stream as Korean online services send it: runs of Hangul syllables (KS C 5601 rows
// 0xB0..0xC8) and ASCII words, colour changes, cursor positioning, line ends and erases, in a
// fixed random order.
#include <cstdio>
#include <random>
#include <string>

inline std::string makeKoreanAnsiStream(size_t size) {
    std::mt19937 rng(7);
    auto pick = [&](int n) { return static_cast<int>(rng() % n); };
    std::string s;
    s.reserve(size + 256);
    char buf[64];
    while (s.size() < size) {
        switch (pick(10)) {
            case 0:
                std::snprintf(buf, sizeof buf, "\x1b[%d;%dm", 30 + pick(8), 40 + pick(8));
                s += buf;
                break;
            case 1:
                std::snprintf(buf, sizeof buf, "\x1b[%d;%dH", 1 + pick(24), 1 + pick(80));
                s += buf;
                break;
            case 2:
                s += "\r\n";
                break;
            case 3:
                s += "\x1b[K";
                break;
            default:
                for (int i = 0, n = 4 + pick(12); i < n; ++i) {
                    if (pick(3)) {
                        s += static_cast<char>(0xB0 + pick(25));
                        s += static_cast<char>(0xA1 + pick(94));
                    } else {
                        s += static_cast<char>('a' + pick(26));
                        s += ' ';
                    }
                }
        }
    }
    return s;
}
