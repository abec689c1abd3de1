#pragma once
// What the dialler sends for a phone record from where the user is: the location (its name, the
// prefix that reaches an outside line, the local area code, kept as `Comm` settings), the dial
// command, and the checks made again at dialling, since stored values may have bypassed the
// editors and a CR or LF would hand the rest of a number to the modem as a command.
#include <optional>
#include <string>
#include <string_view>

#include "auto/Registry.h"
#include "link/PhoneRecords.h"

// A pause (",") may stand in the prefix, which is no record: "9," dials 9, then waits.
inline constexpr std::string_view kOutsidePrefixChars = "0123456789-*#,!@$?;";

// Labels of the location's values, as the messages about them name them.
inline constexpr const char* kNumberLabel = "전화번호";
inline constexpr const char* kAreaCodeLabel = "지역번호";
inline constexpr const char* kOutsidePrefixLabel = "외부 연결 번호";

struct DialLocation {
    std::string name;  // CP949, as the settings hold it
    std::string outsidePrefix;
    std::string localAreaCode;
};

// `Comm` "LocationName" (default "기본 위치"), "OutsidePrefix" and "LocalAreaCode".
DialLocation ReadDialLocation(Registry& registry);
bool StoreDialLocation(Registry& registry, const DialLocation& location);

// "ATDT", the outside prefix, then the area code and "-" unless it is the location's own,
// empty or "0", then the number.
std::string DialCommand(const PhoneRecord& record, const DialLocation& location);

// The record's number and area code hold only dial characters, and there is a number.
bool IsDialable(const PhoneRecord& record);
bool IsOutsidePrefix(std::string_view prefix);

// "%s에는 %s의 값만 입력할 수 있습니다." with the label and the characters allowed (UTF-8).
std::string OnlyCharsText(const std::string& label, std::string_view allowed);
