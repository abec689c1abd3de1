#include "link/DialPlan.h"

#include "auto/CSettingsSection.h"
#include "platform/TextCodec.h"

DialLocation ReadDialLocation(Registry& registry) {
    CSettingsSection comm(registry, "Comm");
    DialLocation location;
    location.name = comm.GetString("LocationName");
    if (location.name.empty()) location.name = utf8ToCp949("기본 위치").value();
    location.outsidePrefix = comm.GetString("OutsidePrefix");
    location.localAreaCode = comm.GetString("LocalAreaCode");
    return location;
}

bool StoreDialLocation(Registry& registry, const DialLocation& location) {
    CSettingsSection comm(registry, "Comm");
    return comm.SetString("LocationName", location.name) &&
           comm.SetString("OutsidePrefix", location.outsidePrefix) &&
           comm.SetString("LocalAreaCode", location.localAreaCode);
}

std::string DialCommand(const PhoneRecord& record, const DialLocation& location) {
    std::string body = location.outsidePrefix;
    if (!IsNationwide(record.area) && record.area != location.localAreaCode)
        body += record.area + "-";
    return "ATDT" + body + record.number;
}

bool IsDialable(const PhoneRecord& record) {
    return !record.number.empty() && IsDialText(record.number) && IsDialText(record.area);
}

bool IsOutsidePrefix(std::string_view prefix) {
    return prefix.find_first_not_of(kOutsidePrefixChars) == std::string_view::npos;
}

std::string OnlyCharsText(const std::string& label, std::string_view allowed) {
    return label + "에는 " + std::string(allowed) + "의 값만 입력할 수 있습니다.";
}
