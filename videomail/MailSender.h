#pragma once
// The sending thread's work: a video mail to a mail server over SMTP, with progress texts and
// a progress bar for the window that watches it.
#include <string>
#include <vector>

struct SendRequest {
    std::string attachmentPath;
    std::string attachmentName;  // UTF-8
    std::string subject;         // CP949
    std::string body;            // CP949, the notice included
    std::vector<std::string> to;
    std::vector<std::string> cc;
    std::string
        senderAddress;  // as configured; completed with the local address when it has no "@"
    std::string senderName;
    std::string signFile;  // empty: none
    std::string server;    // "host" or "host:port"
};

class SendProgress {
public:
    virtual ~SendProgress() = default;
    virtual void Status(const std::string& utf8) = 0;
    virtual void Percent(int percent) = 0;
};

struct SendResult {
    bool sent = false;  // the server took the message (250 after the final ".")
    std::string error;  // UTF-8, for the user; empty when there is nothing to say
};

// Sends on this thread. Once cancelFd (when given) becomes readable the dialogue ends as a
// failure without a message, and QUIT is not waited for.
SendResult SendMail(const SendRequest& request, SendProgress& progress, int cancelFd = -1);
