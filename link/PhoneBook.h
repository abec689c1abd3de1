#pragma once
// The phone book of a service as the picker shows it: the access numbers that hosts.cfg lists
// for the service, in six groups by region. A chosen item becomes a phone record of the entry.
#include <string>
#include <vector>

#include "auto/IniFile.h"
#include "link/PhoneRecords.h"

struct PhoneBookItem {
    std::string text;    // UTF-8: "%s %s (%s)" region, number, speed; "전국 %s (%s)" nationwide
    PhoneRecord record;  // CP949, checked
};

struct PhoneBookGroup {
    std::string title;  // UTF-8: "전국(014)", "서울시(02)", ...
    std::vector<PhoneBookItem> items;
};

// The six groups, in order, each possibly empty. A number with two fields is nationwide; with
// three it goes by the first two characters of its area code, and under "전국(014)" when that
// is empty, "0" or outside the five regional groups. A number or area code with "," (which
// would split the record) and a value of more fields are not offered; in a speed "," becomes a
// blank.
std::vector<PhoneBookGroup> PhoneBookGroups(const IniFile& hosts, const std::string& service);
