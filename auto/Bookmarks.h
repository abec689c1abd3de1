#pragma once
// A service's bookmarks (record kind 7) in the profile store: each written with one small
// transaction on the stored list, so that bookmarks another running copy saved meanwhile are
// kept. Records and names are CP949, messages UTF-8.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"

inline constexpr char kDuplicateBookmark[] =
    "같은 이름의 책갈피가 이미 존재합니다.\n이름을 바꾸십시오.";
inline constexpr char kNoBookmarkLocation[] = "책갈피에 위치가 없습니다.";

// The stored list; empty when the service or its list is missing.
std::vector<Record> LoadBookmarks(Registry& registry, const std::string& service);

// Writes `VTime` of the stored bookmark titled `title` and nothing else; false when there is
// none or the store fails.
bool StoreVisitTime(Registry& registry, const std::string& service, const std::string& title,
                    int64_t seconds);

enum class AppendResult { Added, TitleTaken, Failed };
// Appends the bookmark after the stored ones unless one of them has exactly its title.
AppendResult AppendBookmark(Registry& registry, const std::string& service, const Record& bookmark);

// The field's text, "" when missing.
std::string BookmarkField(const Record& bookmark, const std::string& name);
bool BookmarkReadOnly(const Record& bookmark);
// A location that may go to the host: not empty, no control bytes.
bool SendableLocation(std::string_view location);
// The last visit in seconds since 1970, or -1 when `VTime` is not a positive number.
int64_t VisitTime(const Record& bookmark);
// The visit as local "YYYY-MM-DD HH:MM", or "(없음)" when never visited.
std::string VisitTimeText(const Record& bookmark);
int64_t NowSeconds();
