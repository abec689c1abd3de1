#pragma once
// The area codes the phone lists know, each with its region's name. Lists show the region,
// records store the code. Names are UTF-8.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct AreaCode {
    const char* code;  // at most four digits; "0" for nationwide
    const char* region;
};

// The 42 rows, "0 전국" first.
const std::vector<AreaCode>& AreaCodeTable();

// "전국" for an empty code; "" for a code the table does not know.
std::string RegionName(std::string_view code);
// The code of a region's name: "" for "전국", nothing for a name the table does not know.
std::optional<std::string> AreaCodeOf(std::string_view region);
