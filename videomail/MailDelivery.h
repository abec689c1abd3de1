#pragma once
// The composer's "MAIL SEND": the message (or a self-playing package of it) handed to the
// desktop's mail program, or checked against the send form and sent over SMTP.
#include <functional>
#include <string>

#include "platform/Prompt.h"
#include "videomail/MailSender.h"
#include "videomail/ReelpostSettings.h"

// The send dialog's fields, CP949 as typed.
struct SendForm {
    std::string to;
    std::string cc;
    std::string subject;
    std::string body;
};

struct DeliveryHooks {
    Prompt& prompt;
    SendProgress& progress;
    std::function<void(const std::string&)> setStatus;  // the composer's status text
    // Runs a program to its end: its exit status, or -1 when it could not be started.
    std::function<int(const std::vector<std::string>&)> runProgram;
};

// The send dialog's checks on OK: a request to send, or nothing with the user told why (or
// having chosen to stay).
std::optional<SendRequest> CheckSendForm(const ReelpostSettings& settings, const SendForm& form,
                                         Prompt& prompt);

// Delivers the saved message; true when it was sent (or handed to the mail program).
bool DeliverMessage(const std::string& messagePath, const ReelpostSettings& settings,
                    const SendForm& form, DeliveryHooks& hooks);

// The private folder packages are built in; emptied at the start of each delivery.
std::string outboxFolder();
