#include "videomail/MailDelivery.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/TextCodec.h"
#include "platform/UserDirs.h"
#include "videomail/MailAddresses.h"
#include "videomail/MailComposer.h"
#include "videomail/Package.h"

namespace fs = std::filesystem;

namespace {

// xdg-email's exit status when no mail program could be found.
constexpr int kNoMailProgram = 3;

// Removes what earlier deliveries left (a package handed to the mail program stays until
// then) and makes the folder again, readable by the user only.
bool clearOutbox() {
    std::error_code error;
    fs::remove_all(outboxFolder(), error);
    fs::create_directories(outboxFolder(), error);
    return !error && chmod(outboxFolder().c_str(), 0700) == 0;
}

std::optional<Attachment> attachmentFor(const std::string& messagePath,
                                        const ReelpostSettings& settings, Prompt& prompt) {
    bool outboxReady = clearOutbox();
    Attachment attachment{messagePath, fs::path(messagePath).filename().string(), false};
    if (settings.withPlayer != 1) return attachment;
    attachment.name = fs::path(messagePath).stem().string() + ".exe";
    attachment.path = outboxFolder() + "/" + attachment.name;
    attachment.package = true;
    std::string templatePath = cp949ToUtf8Lossy(settings.appPath) + "/templete.dat";
    PackageResult built = outboxReady ? BuildPackage(templatePath, messagePath, attachment.path)
                                      : PackageResult::CannotWrite;
    if (built == PackageResult::Built) return attachment;
    prompt.tell(packageMessage(built), PromptIcon::Warning);
    return std::nullopt;
}

}  // namespace

std::string outboxFolder() {
    return dataHome() + "/quilite/reelpost-outbox";
}

std::optional<SendRequest> CheckSendForm(const ReelpostSettings& settings, const SendForm& form,
                                         Prompt& prompt) {
    if (settings.server.empty()) {
        prompt.tell("메일 서버가 없습니다. 메일서버를 다시 설정해주십시오.", PromptIcon::Warning);
        return std::nullopt;
    }
    std::string error;
    auto to = splitAddresses(form.to, error);
    auto cc = to ? splitAddresses(form.cc, error) : std::nullopt;
    if (!to || !cc) {
        prompt.tell(error, PromptIcon::Warning);
        return std::nullopt;
    }
    if (to->empty()) {
        prompt.tell("받을 사람을 지정해주십시오.", PromptIcon::Warning);
        return std::nullopt;
    }
    if (form.subject.empty() && prompt.ask("제목없이 보내시겠습니까?", PromptButtons::YesNo,
                                           PromptIcon::Question) != PromptAnswer::Yes)
        return std::nullopt;
    SendRequest request;
    request.subject = form.subject;
    request.body = videoMailBody(form.body);
    request.to = *to;
    request.cc = *cc;
    request.senderAddress = settings.email;
    request.senderName = settings.email;
    request.signFile = cp949ToUtf8Lossy(settings.signFile);
    request.server = settings.server;
    return request;
}

std::optional<Attachment> BeginDelivery(const std::string& messagePath,
                                        const ReelpostSettings& settings, DeliveryHooks& hooks) {
    hooks.setStatus("MAIL SEND");
    auto attachment = attachmentFor(messagePath, settings, hooks.prompt);
    if (!attachment) hooks.setStatus("READY");
    return attachment;
}

bool HandToMailProgram(const Attachment& attachment, DeliveryHooks& hooks) {
    int status = hooks.runProgram({"xdg-email", "--attach", attachment.path});
    if (status == 0) return true;
    hooks.prompt.tell(status == kNoMailProgram || status < 0 ? "Unable to load mail system support."
                                                             : "Send Mail failed to send message.",
                      PromptIcon::Error);
    return false;
}

std::optional<SendRequest> RequestFor(const Attachment& attachment,
                                      const ReelpostSettings& settings, const SendForm& form,
                                      Prompt& prompt) {
    auto request = CheckSendForm(settings, form, prompt);
    if (request) {
        request->attachmentPath = attachment.path;
        request->attachmentName = attachment.name;
    }
    return request;
}

void EndDelivery(const Attachment& attachment, const ReelpostSettings& settings,
                 DeliveryHooks& hooks) {
    std::error_code ignored;
    if (attachment.package && settings.protocol != 1) fs::remove(attachment.path, ignored);
    hooks.setStatus("READY");
}

bool DeliverMessage(const std::string& messagePath, const ReelpostSettings& settings,
                    const SendForm& form, DeliveryHooks& hooks) {
    auto attachment = BeginDelivery(messagePath, settings, hooks);
    if (!attachment) return false;
    bool sent = false;
    if (settings.protocol == 1) {
        sent = HandToMailProgram(*attachment, hooks);
    } else if (auto request = RequestFor(*attachment, settings, form, hooks.prompt)) {
        SendResult result = SendMail(*request, hooks.progress);
        if (!result.error.empty()) hooks.prompt.tell(result.error, PromptIcon::Error);
        sent = result.sent;
    }
    EndDelivery(*attachment, settings, hooks);
    return sent;
}
