#pragma once
// The text of a video mail: header lines, the body part and the attachment part's headers, a
// multipart/mixed message with the boundary "MessageBoundary". Texts are CP949 unless said
// otherwise; lines end in CR LF.
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

struct MailContent {
    std::string senderName;
    std::string senderAddress;
    std::vector<std::string> copies;
    std::string subject;
    std::string body;  // as the send dialog made it, line ends of any kind
    bool hasSignature = false;
    std::string signature;       // the signature file's text
    std::string attachmentName;  // a file name, UTF-8
    std::string dateLine;
};

// The body of every video mail: the typed text, then a line of dashes and the notice that says
// how to view the attachment.
std::string videoMailBody(std::string_view typed);
// "Date: Tue,  8 Dec 2026 01:15:00 +0900 (KST)": local time, C-locale names.
std::string mailDateLine(time_t when);
// Whether the message needs 8 bits (its body or signature is not plain ASCII).
bool needsEightBits(const MailContent& content);
// Everything before the encoded attachment. eightBitPath: the server takes 8-bit data
// (8BITMIME), so a non-ASCII body goes unchanged; otherwise it goes in Base64.
std::string composeMailHead(const MailContent& content, bool eightBitPath);
// What follows the encoded attachment, up to the final boundary.
extern const char* const kMailTail;
// Lines that begin with "." get another, so that none ends the DATA command.
std::string dotStuffed(std::string_view text);
