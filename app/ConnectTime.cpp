#include "app/ConnectTime.h"

#include <cstdio>

namespace {

struct Parts {
    long long hours, minutes, seconds;
};

Parts split(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    return {seconds / 3600, seconds / 60 % 60, seconds % 60};
}

}  // namespace

std::string ConnectClockText(int64_t seconds) {
    const Parts t = split(seconds);
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", t.hours, t.minutes, t.seconds);
    return text;
}

std::string ConnectTimeTip(int64_t seconds) {
    const Parts t = split(seconds);
    char text[80];
    if (t.hours > 0)
        std::snprintf(text, sizeof text, "연결 %lld시간 %lld분 %lld초", t.hours, t.minutes,
                      t.seconds);
    else if (t.minutes > 0)
        std::snprintf(text, sizeof text, "연결 %lld분 %lld초", t.minutes, t.seconds);
    else
        std::snprintf(text, sizeof text, "연결 %lld초", t.seconds);
    return text;
}
