#pragma once
// What the file manager's lists show (UTF-8 cells): the received, sent and capture pages and
// the send box, with sizes grouped by thousands and times as "%m-%d %H:%M" (local time).
#include <cstdint>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"

// The column headers of a kind's page (8, 9 or 10) and of the send box; the first column's
// header starts with three blanks, as the lists show it.
std::vector<std::string> fileListHeaders(int kind);
std::vector<std::string> sendBoxHeaders();

// The cells of a stored record: path, size, time, share and description (no share for
// captures). A size of 0 shows the bytes transferred and the share "?".
std::vector<std::string> fileListRow(const Record& stored, int kind);
// The cells of a send-box file: path, size in KB or MB, last-write time.
std::vector<std::string> sendBoxRow(const std::string& path, int64_t size, int64_t mtime);

std::string groupedNumber(int64_t value);  // 1234567 -> "1,234,567"
std::string sendBoxSize(int64_t bytes);    // "1KB" for 1,000 bytes, "1.00MB" for 1 MiB
std::string shortTime(int64_t seconds);    // "12-06 14:05"
// transferred x 100 / size in integer arithmetic, without overflow; "?" for a size of 0.
std::string transferShare(int64_t transferred, int64_t size);
