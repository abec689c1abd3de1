#include "link/AreaCodes.h"

namespace {

constexpr const char* kNationwide = "전국";

}  // namespace

const std::vector<AreaCode>& AreaCodeTable() {
    static const std::vector<AreaCode> table = {
        {"0", "전국"},    {"02", "서울"},   {"032", "인천"},  {"0331", "수원"},   {"0371", "원주"},
        {"0361", "춘천"}, {"0391", "강릉"}, {"0392", "속초"}, {"0356", "가평"},   {"0349", "강화"},
        {"0344", "고양"}, {"0357", "포천"}, {"0348", "파주"}, {"0397", "삼척"},   {"0394", "동해"},
        {"0342", "성남"}, {"0343", "안양"}, {"042", "대전"},  {"0417", "천안"},   {"0431", "청주"},
        {"0441", "충주"}, {"0451", "홍성"}, {"0455", "서산"}, {"0463", "부여"},   {"0443", "제천"},
        {"051", "부산"},  {"053", "대구"},  {"0522", "울산"}, {"0551", "창원"},   {"0591", "진주"},
        {"0571", "안동"}, {"0546", "구미"}, {"0562", "포항"}, {"0593", "삼천포"}, {"062", "광주"},
        {"0652", "전주"}, {"064", "제주"},  {"0631", "목포"}, {"0661", "순천"},   {"0662", "여수"},
        {"0654", "군산"}, {"0671", "남원"},
    };
    return table;
}

std::string RegionName(std::string_view code) {
    if (code.empty()) return kNationwide;
    for (const AreaCode& row : AreaCodeTable())
        if (code == row.code) return row.region;
    return "";
}

std::optional<std::string> AreaCodeOf(std::string_view region) {
    if (region == kNationwide) return "";
    for (const AreaCode& row : AreaCodeTable())
        if (region == row.region) return row.code;
    return std::nullopt;
}
