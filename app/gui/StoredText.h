#pragma once
// The store keeps text as CP949; widgets show QStrings. Conversions at that edge, and the
// check that a name the user picked can be stored at all.
#include <QString>
#include <string>

#include "platform/TextCodec.h"

inline QString fromStored(const std::string& cp949) {
    return QString::fromStdString(cp949ToUtf8Lossy(cp949));
}

// Characters CP949 lacks become '?'.
inline std::string toStored(const QString& text) {
    return utf8ToCp949Lossy(text.toStdString());
}

// Stored line breaks are CR LF (or a lone CR), so that a text sent for the user sends one CR
// for each; editors show them as line breaks.
inline QString multiLineFromStored(const std::string& cp949) {
    QString text = fromStored(cp949);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

inline std::string multiLineToStored(QString text) {
    text.replace('\n', "\r\n");
    return toStored(text);
}

// A file or folder name whose characters CP949 holds, so that it comes back from the store as
// the same name.
inline bool storableName(const QString& name) {
    return utf8ToCp949(name.toStdString()).has_value();
}

// Told when the user picks a file or folder whose name the store cannot hold.
inline constexpr char kUnstorableNameText[] =
    "%1\n\n이 이름에는 설정에 저장할 수 없는 문자가 있습니다. 다른 이름을 고르십시오.";
