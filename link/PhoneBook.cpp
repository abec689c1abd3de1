#include "link/PhoneBook.h"

#include "link/AreaCodes.h"
#include "platform/TextCodec.h"

namespace {

// Group titles; the regional ones with the two characters their area codes begin with.
constexpr std::pair<const char*, const char*> kGroups[] = {
    {"", "전국(014)"},    {"02", "서울시(02)"}, {"03", "경기강원(03)"},
    {"04", "충청도(04)"}, {"05", "경상도(05)"}, {"06", "전라제주(06)"},
};

size_t groupOf(const std::string& area) {
    for (size_t i = 1; i < std::size(kGroups); ++i)
        if (area.compare(0, 2, kGroups[i].first) == 0) return i;
    return 0;
}

// The item for one stored value; nothing for a value that makes no record.
std::optional<PhoneBookItem> itemOf(const std::string& value) {
    const std::vector<std::string_view> parts = SplitPhoneText(value, ':');
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    PhoneBookItem item;
    if (parts.size() == 3) item.record.area = parts[0];
    item.record.number = parts[parts.size() - 2];
    item.record.speed = SpeedText(parts.back());
    if ((item.record.area + item.record.number).find(',') != std::string::npos) return std::nullopt;
    const std::string number = cp949ToUtf8Lossy(item.record.number);
    const std::string speed = cp949ToUtf8Lossy(item.record.speed);
    if (IsNationwide(item.record.area)) {
        item.text = "전국 " + number + " (" + speed + ")";
    } else {
        item.text = RegionName(item.record.area) + " " + number + " (" + speed + ")";
    }
    return item;
}

}  // namespace

std::vector<PhoneBookGroup> PhoneBookGroups(const IniFile& hosts, const std::string& service) {
    std::vector<PhoneBookGroup> groups;
    for (const auto& group : kGroups)
        groups.push_back({group.second, {}});
    for (const std::string& value : hosts.List(service + "\\PhoneBook")) {
        std::optional<PhoneBookItem> item = itemOf(value);
        if (!item) continue;
        const size_t group = IsNationwide(item->record.area) ? 0 : groupOf(item->record.area);
        groups[group].items.push_back(std::move(*item));
    }
    return groups;
}
