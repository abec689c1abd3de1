#pragma once
// How long the connection has been up, as the window's status bar and the tty's status line
// show it. Hours are counted in full, never wrapped at a day.
#include <cstdint>
#include <string>

// "HH:MM:SS" ("25:00:00" after 25 hours).
std::string ConnectClockText(int64_t seconds);
// The clock's tool tip: "연결 %d시간 %d분 %d초" from one hour on, "연결 %d분 %d초" from one
// minute on, "연결 %d초" below.
std::string ConnectTimeTip(int64_t seconds);
