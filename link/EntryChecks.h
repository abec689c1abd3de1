#pragma once
// The checks an entry's fields pass when an editor saves them. Each returns the message to show
// (UTF-8; the editor shows it with a warning icon, empties the field and stays open), or nothing
// when the value is good. Values may be CP949 or UTF-8: only ASCII characters are judged.
#include <optional>
#include <string>
#include <string_view>

#include "platform/Prompt.h"

// "%s을(를) 입력하십시오." with the field's label.
std::optional<std::string> CheckRequired(std::string_view value, const std::string& label);
// A blank or one of \ / : * ? " < > in a host name.
std::optional<std::string> CheckHostName(std::string_view host);
// A number or area code (label "전화번호" or "지역번호") with other characters than kDialChars.
std::optional<std::string> CheckDialText(std::string_view value, const std::string& label);
// A port is a decimal number from 0 to 65535; nothing for a good one. Port 0 is stored, and the
// session refuses it when connecting.
std::optional<std::string> CheckPortText(std::string_view text);
std::optional<int> ParsePortText(std::string_view text);

// The phone-number editor's two fields, in the order the checks run.
struct PhoneFieldProblem {
    enum class Field { Number, Area };
    Field field;
    std::string message;
};

// The number (required, dial characters), then the area code: given, it holds dial characters;
// left empty, the user is asked whether the number is nationwide, and No makes it required.
std::optional<PhoneFieldProblem> CheckPhoneFields(std::string_view area, std::string_view number,
                                                  Prompt& prompt);
