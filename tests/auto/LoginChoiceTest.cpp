// The rules for IDs and passwords of the log-in records, first failing rule first.
#include <gtest/gtest.h>

#include "auto/LoginChoice.h"
#include "platform/TextCodec.h"

namespace {

TEST(LoginChoiceTest, IdRulesReportTheFirstBrokenOne) {
    const std::string empty = "아이디을(를) 입력하십시오.";
    const std::string forbidden = "아이디에는  \\/:*?\"<>의 값과 공백을 입력할 수 없습니다.";
    const std::string first = "아이디의 첫자는 한글이나 영문, 숫자로 시작해야 합니다.";
    const struct {
        std::string id;
        std::optional<std::string> message;
    } cases[] = {
        {"guest", std::nullopt},
        {"#1", std::nullopt},
        {"9lives", std::nullopt},
        {utf8ToCp949("김철수").value(), std::nullopt},
        {"", empty},
        {"a b", forbidden},
        {"a\\b", forbidden},
        {"_x>", forbidden},
        {"_x", first},
        {"-guest", first},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckLoginId(c.id), c.message) << c.id;
}

TEST(LoginChoiceTest, PasswordsMustSurviveStorage) {
    EXPECT_EQ(CheckLoginPassword(""), std::nullopt);
    EXPECT_EQ(CheckLoginPassword(std::string(130, '~')), std::nullopt);
    const std::string refused = "비밀번호는 130자 이내의 영문, 숫자, 기호로 입력하십시오.";
    EXPECT_EQ(CheckLoginPassword(std::string(131, 'a')), refused);
    EXPECT_EQ(CheckLoginPassword("pw\t"), refused);
    EXPECT_EQ(CheckLoginPassword(utf8ToCp949("비번").value()), refused);
}

}  // namespace
