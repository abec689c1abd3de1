#include "videomail/MailSender.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/TextCodec.h"
#include "videomail/Base64.h"
#include "videomail/MailComposer.h"
#include "videomail/SmtpConnection.h"

namespace {

constexpr size_t kPieceBytes = 2048;

std::optional<std::string> readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream data;
    data << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return data.str();
}

// Signature files may be written in UTF-8; the mail's text is CP949.
std::string signatureText(const std::string& bytes) {
    auto asCp949 = utf8ToCp949(bytes);
    return asCp949 ? *asCp949 : bytes;
}

std::string failure(const SmtpReply& reply) {
    std::string why = reply.lines.empty() ? "메일 서버와의 연결이 끊어졌습니다."
                                          : cp949ToUtf8Lossy(reply.lastLine());
    return "메일을 보내지 못했습니다.\n" + why;
}

// The SMTP dialogue from the greeting to the reply after the final ".".
class Dialogue {
public:
    Dialogue(SmtpConnection& connection, const SendRequest& request, SendProgress& progress)
        : smtp_(connection), request_(request), progress_(progress) {}

    SendResult run(const std::string& encoded) {
        if (!expect({220})) return failed();
        std::string local = smtp_.localAddressLiteral();
        if (!smtp_.SendLine("EHLO " + local) || !expect({250})) return failed();
        noteExtensions();

        MailContent content = mailContent(local);
        bool eightBit = eightBitMime_ && needsEightBits(content);
        std::string from = "MAIL FROM: <" + content.senderAddress + ">";
        if (size_) from += " SIZE=" + std::to_string(encoded.size() + 1000);
        if (eightBit) from += " BODY=8BITMIME";
        if (!smtp_.SendLine(from) || !expect({250})) return failed();
        for (const auto* list : {&request_.to, &request_.cc})
            for (const std::string& address : *list)
                if (!smtp_.SendLine("RCPT TO: <" + address + ">") || !expect({250, 251}))
                    return failed();
        if (!smtp_.SendLine("DATA") || !expect({354})) return failed();

        progress_.Status("메일 서버에 비디오 데이타 전송중...");
        if (!smtp_.SendRaw(dotStuffed(composeMailHead(content, eightBitMime_)))) return failed();
        for (size_t at = 0; at < encoded.size(); at += kPieceBytes) {
            if (smtp_.isCancelled()) return failed();
            progress_.Percent(static_cast<int>(at * 100 / encoded.size()));
            if (!smtp_.SendRaw(std::string_view(encoded).substr(at, kPieceBytes))) return failed();
        }
        if (!smtp_.SendRaw(dotStuffed(kMailTail)) || !smtp_.SendLine(".") || !expect({250}))
            return failed();
        return {true, ""};
    }

private:
    bool expect(std::initializer_list<int> codes) {
        reply_ = smtp_.ReadReply();
        for (int code : codes)
            if (reply_.code == code) return true;
        return false;
    }

    SendResult failed() const { return {false, failure(reply_)}; }

    void noteExtensions() {
        for (const std::string& line : reply_.lines) {
            std::string keyword = line.size() > 4 ? line.substr(4) : "";
            if (keyword.starts_with("SIZE")) size_ = true;
            if (keyword.starts_with("8BITMIME")) eightBitMime_ = true;
        }
    }

    MailContent mailContent(const std::string& local) const {
        MailContent content;
        content.senderName = request_.senderName;
        content.senderAddress = request_.senderAddress;
        if (content.senderAddress.find('@') == std::string::npos)
            content.senderAddress += "@" + local;
        content.copies = request_.cc;
        content.subject = request_.subject;
        content.body = request_.body;
        if (!request_.signFile.empty()) {
            auto signature = readWhole(request_.signFile);
            content.hasSignature = signature.has_value();
            if (signature) content.signature = signatureText(*signature);
        }
        content.attachmentName = request_.attachmentName;
        content.dateLine = mailDateLine(time(nullptr));
        return content;
    }

    SmtpConnection& smtp_;
    const SendRequest& request_;
    SendProgress& progress_;
    SmtpReply reply_;
    bool size_ = false;
    bool eightBitMime_ = false;
};

}  // namespace

SendResult SendMail(const SendRequest& request, SendProgress& progress, int cancelFd) {
    auto attachment = readWhole(request.attachmentPath);
    if (!attachment) return {false, "첨부할 파일을 읽을 수 없습니다: " + request.attachmentName};
    progress.Status("비디오 데이타 변환중...");
    std::string encoded = encodeBase64Lines(*attachment);
    if (request.server.empty() || request.to.empty()) return {};

    progress.Status("SMTP Server에 연결중 : " + cp949ToUtf8Lossy(request.server));
    SmtpConnection smtp(cancelFd);
    if (!smtp.Connect(request.server)) {
        if (smtp.isCancelled()) return {};
        progress.Status("연결 실패!");
        char text[512];
        snprintf(text, sizeof text, "%s에 있는 port %d를 열수 없습니다.",
                 cp949ToUtf8Lossy(smtp.host()).c_str(), smtp.port());
        return {false, text};
    }
    progress.Status("Sending Header Information");
    SendResult result = Dialogue(smtp, request, progress).run(encoded);
    if (smtp.isCancelled()) result.error.clear();
    smtp.SendLine("QUIT");
    smtp.ReadReply();
    smtp.Close();
    return result;
}
