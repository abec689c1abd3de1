// Hanging up and the questions asked before the program closes.
#include "auto/CSettingsSection.h"
#include "link/CQuillonDoc.h"
#include "platform/TextCodec.h"
#include "xfer/GFErrors.h"

namespace {

// What a modem user is told who wants to close without hanging up while the port would drop
// the line on closing.
constexpr char kKeepLineExplanation[] =
    "전화를 안 끊고 끝내려면 통신설정 대화상자의 고급 모뎀 설정에서 \"전화 안 끊고 끝내는 모드 "
    "지원\"을 선택하십시오.\n\n이 모드를 쓰면 일부 모뎀에서 전화 걸기가 안 될 수 있고, 일대일 "
    "통신을 할 수 없습니다. 이 설정은 다음 전화 걸기부터 적용됩니다.";

constexpr int kCancelPollMs = 50;

}  // namespace

void CQuillonDoc::HangUp(bool final) {
    StopPicture();
    hangingUp_ = true;
    if (linkOpen_ && online_ && link_) {
        link_->HangUp(final ? 1 : 0);
        if (linkMode_ == kTelnetMode) ShowText("Connection closed.\n");
        ctx_.loop.kickIdle();  // the next idle pass sees the line go down
    }
    hangingUp_ = false;
}

bool CQuillonDoc::QueryClose() {
    if (transferActive_) {
        if (ctx_.prompt.ask("파일 전송 중입니다. 파일 전송을 취소할까요?.", PromptButtons::YesNo,
                            PromptIcon::Question) != PromptAnswer::Yes) {
            return false;  // the transfer goes on and so does the program
        }
        cancelTransferForClose();
    }
    const std::string internet = hooks_.InternetConnection();
    if (!internet.empty() &&
        ctx_.prompt.ask("\"" + internet + "\"을(를) 통해 인터넷에 연결 중입니다. 연결을 끊습니다.",
                        PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes) {
        hooks_.HangUpInternet();
    }
    if (hangingUp_) return false;
    CheckOnline();
    if (online_ && linkMode_ == kModemMode && !askModemHangUp()) return false;
    if (online_ && linkMode_ == kTelnetMode &&
        ctx_.prompt.ask(cp949ToUtf8Lossy(title_) + "에 연결중입니다.\n\n연결을 끊습니다.",
                        PromptButtons::OkCancel, PromptIcon::Question) != PromptAnswer::Ok) {
        return false;
    }
    closeSession();
    return true;
}

void CQuillonDoc::CloseWithoutQuestions() {
    if (transferActive_) cancelTransferForClose();
    closeSession();
}

void CQuillonDoc::closeSession() {
    StopPicture();
    closing_ = true;
    ctx_.loop.requestClose();
    pasteJob_.reset();
    CloseLink();
}

// Yes hangs up, No keeps the line only where the port leaves it up, Cancel stays.
bool CQuillonDoc::askModemHangUp() {
    const PromptAnswer answer =
        ctx_.prompt.ask(cp949ToUtf8Lossy(title_) + "에 연결중입니다.\n\n전화를 끊을까요?.",
                        PromptButtons::YesNoCancel, PromptIcon::Question);
    if (answer == PromptAnswer::Yes) {
        HangUp(true);
        return true;
    }
    if (answer != PromptAnswer::No) return false;
    if (CSettingsSection(ctx_.registry, "Comm").GetInt("ModemDtrOff", 0) != 0) return true;
    tell(kKeepLineExplanation, PromptIcon::Information);
    return false;
}

// Stops the transfer and waits for its thread before the link may go: the engine sees the
// cancel at its next check; one that does not is cut off by shutting the link down.
void CQuillonDoc::cancelTransferForClose() {
    ctx_.frame.ShowStatus("파일 전송을 취소하고 있습니다...");
    transfer_->Cancel();
    const int64_t start = ctx_.clock.nowMs();
    bool shutDown = false;
    while (!transfer_->Finished()) {
        if (!shutDown && ctx_.clock.nowMs() - start >= kCancelGraceMs) {
            shutDown = true;
            if (link_) link_->Close();
        }
        // A wait nested in another (or after a close request) returns at once: sleep instead.
        const WaitEnd end = ctx_.loop.runFor(kCancelPollMs);
        if (end == WaitEnd::Nested || end == WaitEnd::CloseRequested)
            ctx_.clock.sleepMs(kCancelPollMs);
        if (!transfer_) return;  // the bridge ended it meanwhile
    }
    EndTransfer(GF_USER_ABORT);
}
