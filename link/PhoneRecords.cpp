#include "link/PhoneRecords.h"

#include "auto/CSettingsSection.h"

std::vector<std::string_view> SplitPhoneText(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

PhoneList ParsePhoneList(std::string_view phone) {
    PhoneList list;
    if (phone.empty()) return list;
    for (std::string_view text : SplitPhoneText(phone, ',')) {
        const std::vector<std::string_view> fields = SplitPhoneText(text, ':');
        if (fields.size() < 3 || fields.size() > 4) {
            if (!text.empty()) list.unreadable.emplace_back(text);
            continue;
        }
        PhoneRecord record{std::string(fields[0]), std::string(fields[1]), std::string(fields[2])};
        if (fields.size() == 4) record.checked = parseDecimal(fields[3]) != 0;
        list.records.push_back(std::move(record));
    }
    return list;
}

std::string JoinPhoneList(const std::vector<PhoneRecord>& records,
                          const std::vector<std::string>& unreadable) {
    std::string phone;
    auto add = [&](const std::string& record) {
        if (!phone.empty()) phone += ',';
        phone += record;
    };
    for (const PhoneRecord& r : records)
        add(r.area + ':' + r.number + ':' + r.speed + ':' + (r.checked ? '1' : '0'));
    for (const std::string& record : unreadable)
        add(record);
    return phone;
}

bool IsDialText(std::string_view text) {
    return text.find_first_not_of(kDialChars) == std::string_view::npos;
}

bool IsNationwide(std::string_view area) {
    return area.empty() || area == "0";
}

std::string SpeedText(std::string_view speed) {
    std::string text(speed);
    for (char& c : text)
        if (c == ',' || c == ':') c = ' ';
    return text;
}
