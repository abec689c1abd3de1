#pragma once
// The composer's "MAIL SEND": the message (or a self-playing package of it) handed to the
// desktop's mail program, or checked against the send form and sent over SMTP.
#include <functional>
#include <optional>
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

// What is attached: the message itself, or the package built of it.
struct Attachment {
    std::string path;
    std::string name;  // UTF-8
    bool package = false;
};

// The first steps of "MAIL SEND": the status text, then the attachment (the package built when
// the settings ask for one); nothing, the user told why and the status back to "READY", when
// the package could not be built.
std::optional<Attachment> BeginDelivery(const std::string& messagePath,
                                        const ReelpostSettings& settings, DeliveryHooks& hooks);
// Hands the attachment to the desktop's mail program; true when it took it.
bool HandToMailProgram(const Attachment& attachment, DeliveryHooks& hooks);
// The request for the sending thread, once the form has passed its checks.
std::optional<SendRequest> RequestFor(const Attachment& attachment,
                                      const ReelpostSettings& settings, const SendForm& form,
                                      Prompt& prompt);
// The last step: a package sent over SMTP is removed (one handed to the mail program stays
// until the next delivery, as the program may read it later); the status back to "READY".
void EndDelivery(const Attachment& attachment, const ReelpostSettings& settings,
                 DeliveryHooks& hooks);

// Delivers the saved message from start to end on this thread; true when it was sent (or
// handed to the mail program).
bool DeliverMessage(const std::string& messagePath, const ReelpostSettings& settings,
                    const SendForm& form, DeliveryHooks& hooks);

// The private folder packages are built in; emptied at the start of each delivery.
std::string outboxFolder();
