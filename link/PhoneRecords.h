#pragma once
// The phone numbers of a modem entry, kept in its "Phone" value as records joined by ",", each
// "area:number:speed:checked" (CP949). An empty or "0" area code marks a nationwide number. A
// record of three fields counts as checked; one that cannot be read (fewer than three fields,
// or more than four) is kept as it stands, so writing the list back loses nothing.
#include <string>
#include <string_view>
#include <vector>

// What numbers and area codes may hold: "," and ":" separate records and fields.
inline constexpr std::string_view kDialChars = "0123456789-*#!@$?;";

struct PhoneRecord {
    std::string area;
    std::string number;
    std::string speed;  // free text
    bool checked = true;

    bool operator==(const PhoneRecord&) const = default;
};

struct PhoneList {
    std::vector<PhoneRecord> records;
    std::vector<std::string> unreadable;  // records as they were stored, in their order
};

PhoneList ParsePhoneList(std::string_view phone);
// The records, then the unreadable ones unchanged.
std::string JoinPhoneList(const std::vector<PhoneRecord>& records,
                          const std::vector<std::string>& unreadable = {});

// The pieces between the separators ("," between records, ":" between fields).
std::vector<std::string_view> SplitPhoneText(std::string_view text, char separator);

// True when every byte of the text is one of kDialChars (an empty text is).
bool IsDialText(std::string_view text);
bool IsNationwide(std::string_view area);
// A speed as a record may hold it: "," and ":" become blanks.
std::string SpeedText(std::string_view speed);
