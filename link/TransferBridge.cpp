#include "link/TransferBridge.h"

#include <sys/stat.h>

#include <ctime>

#include "auto/CSettingsSection.h"
#include "auto/FileRecords.h"
#include "auto/Folders.h"
#include "auto/SoundEvents.h"
#include "link/TransferUserPrompt.h"
#include "link/TransferWorker.h"
#include "term/TWEmulator.h"

namespace {

constexpr uint8_t kCAN = 24;
constexpr uint8_t kBS = 8;

const char* const kSendFilter =
    "모든 파일 (*.*)|*.*|압축 파일 (*.zip;*.arj;*.lzh;*.rar;*.gz;*.tgz)|"
    "*.zip;*.arj;*.lzh;*.rar;*.gz;*.tgz|";

// Protocols that carry no file name: the user names the received file.
bool needsReceiveName(const std::string& protocol) {
    return protocol == "XMODEM" || protocol == "ASCII";
}

// While the dialogs are up the host's bytes stay in the link: a repeated request in them must
// not start another dialog, and they are purged before the engine starts.
class PumpPause {
public:
    explicit PumpPause(CQuillonDoc& doc) : doc_(doc) { doc_.SetPumpSuspended(true); }
    ~PumpPause() { doc_.SetPumpSuspended(false); }

private:
    CQuillonDoc& doc_;
};

}  // namespace

const std::vector<std::string>& transferProtocols() {
    static const std::vector<std::string> protocols{"XMODEM", "YMODEM", "ZMODEM", "KERMIT",
                                                    "ASCII"};
    return protocols;
}

void TransferBridge::Detach() {
    if (timer_ >= 0 && context_) context_->loop.removeTimer(timer_);
    timer_ = -1;
    if (view_ && monitor_) view_->CloseProgress();
    monitor_.reset();
    context_.reset();
}

int TransferBridge::commValue(const char* name, int defaultValue) {
    return CSettingsSection(context_->registry, "Comm").GetInt(name, defaultValue);
}

void TransferBridge::OnZmodemRequest(int code) {
    if (!context_) return;
    const bool send = code == kTWZmodemSend;
    if (commValue(send ? "AutoZmodemSend" : "AutoZmodemReceive", 1) == 0) return;
    StartTransfer("ZMODEM", send, true);
}

void TransferBridge::StartTransfer(const std::string& protocol, bool send, bool automatic) {
    if (!context_ || Running() || context_->doc.TransferActive()) return;
    PumpPause pause(context_->doc);
    Choice choice{protocol, {}};
    if (send) {
        std::optional<Choice> chosen = askSendFiles(protocol, automatic);
        if (!chosen) {
            if (protocol == "ZMODEM") refuseZmodemUpload();
            return;
        }
        choice = std::move(*chosen);
    } else if (needsReceiveName(protocol)) {
        std::optional<std::string> path = askReceiveFile(protocol);
        if (!path) return;
        choice.paths.push_back(*path);
    }
    launch(std::move(choice), send, true);
}

std::optional<TransferBridge::Choice> TransferBridge::askSendFiles(const std::string& protocol,
                                                                   bool automatic) {
    const std::vector<std::string>& protocols = transferProtocols();
    FileRequest request;
    request.kind = FileDialogKind::OpenMany;
    request.caption = "보낼 파일 찾기";
    request.filter = kSendFilter;
    request.folder = GetFolder(context_->registry, FolderKind::SendFrom);
    request.acceptText = "보내기(&S)";
    request.choices = protocols;
    const std::string preselected = automatic ? protocol : "ZMODEM";
    for (size_t i = 0; i < protocols.size(); ++i)
        if (protocols[i] == preselected) request.choice = static_cast<int>(i);
    request.choiceLocked = automatic;
    // The files waiting in the send box go with one button.
    const std::vector<std::string> sendBox = loadSendBox(context_->registry);
    if (!sendBox.empty()) request.extraButton = kSendBoxButton;
    const FileReply reply = context_->prompt.askFile(request);
    const std::vector<std::string>& paths =
        reply.answer == FileAnswer::Extra ? sendBox : reply.paths;
    if (reply.answer == FileAnswer::Cancelled || paths.empty()) return std::nullopt;
    const bool validChoice = reply.choice >= 0 && reply.choice < static_cast<int>(protocols.size());
    const std::string chosen = automatic || !validChoice ? preselected : protocols[reply.choice];
    return Choice{chosen, paths};
}

std::optional<std::string> TransferBridge::askReceiveFile(const std::string& protocol) {
    FileRequest request;
    request.kind = FileDialogKind::Save;
    request.caption = protocol + " 받을 파일명 지정";
    request.filter = "모든 파일|*.*|";
    request.folder = GetFolder(context_->registry, FolderKind::Download);
    const FileReply reply = context_->prompt.askFile(request);
    if (reply.answer != FileAnswer::Accepted || reply.paths.empty()) return std::nullopt;
    return reply.paths.front();
}

// The host's sender waits for our answer: these bytes make it give up.
void TransferBridge::refuseZmodemUpload() {
    CQuillonDoc& doc = context_->doc;
    doc.PurgeInput();
    for (int i = 0; i < kCancelBytes; ++i)
        doc.SendRawByte(kCAN);
    for (int i = 0; i < kCancelBytes; ++i)
        doc.SendRawByte(kBS);
}

void TransferBridge::OnHostImageTransfer() {
    if (!context_) return;
    CQuillonDoc& doc = context_->doc;
    if (commValue("HitelImage", 1) == 0) {
        for (int i = 0; i < kImageCancelBytes; ++i)
            doc.SendRawByte(kCAN);
        doc.PurgeInput();
        return;
    }
    if (Running() || doc.TransferActive()) return;
    launch(Choice{"ZIMAGE", {}}, false, false);
}

bool TransferBridge::launch(Choice choice, bool send, bool announce) {
    CQuillonDoc& doc = context_->doc;
    if (!doc.LinkOpen() || !doc.Link()) return false;
    TransferMonitorSetup setup;
    setup.sending = send;
    setup.downloadFolder = GetFolder(context_->registry, FolderKind::Download);
    setup.playMedia = commValue("ZmodemRealAudio", 1) != 0;
    setup.openMedia = [this, loop = &context_->loop](const std::string& path) {
        loop->post([this, path] { openMedia_(path); });
    };
    setup.fileClosed = [this, loop = &context_->loop](const ClosedFile& file) {
        loop->post([this, file] { recordFile(file); });
    };
    auto monitorSlot = std::make_shared<std::weak_ptr<TransferMonitor>>();
    setup.picture = pictureFor(choice.protocol, send, [monitorSlot] {
        if (auto monitor = monitorSlot->lock()) monitor->Abort();
    });
    setup.imageTransfer = choice.protocol == "ZIMAGE";
    auto monitor = std::make_shared<TransferMonitor>(std::move(setup));
    *monitorSlot = monitor;
    doc.PurgeInput();
    std::unique_ptr<GFTransfer> engine(
        GFTransfer::CreateObject(choice.protocol.c_str(), doc.Link(), monitor.get()));
    if (!engine) return false;  // the session's link stays free

    auto questions =
        std::make_shared<TransferUserPrompt>(context_->loop, context_->prompt, monitor);
    engine->SetUserPrompt(questions.get());
    const std::string target = !send && !choice.paths.empty() ? choice.paths.front() : "";
    if (send) engine->SetSendList(std::move(choice.paths));
    auto run = [send, target, questions](GFTransfer& e) {
        return send ? e.SendFile("") : e.ReceiveFile(target.c_str());
    };
    const unsigned serial = ++serial_;
    auto ended = [this, serial, loop = &context_->loop](int result) {
        loop->post([this, serial, result] { TransferFinished(serial, result); });
    };
    monitor_ = monitor;
    sending_ = send;
    announce_ = announce;
    hangUpAfter_ = false;
    progress_ = std::make_unique<TransferProgress>(context_->clock.nowMs());
    doc.BeginTransfer(std::make_unique<TransferWorker>(std::move(engine), monitor, std::move(run),
                                                       std::move(ended)));
    if (view_ && announce) {
        view_->OpenProgress(send);
        showProgress();
        timer_ = context_->loop.addTimer(kProgressIntervalMs, true, [this] { showProgress(); });
    }
    return true;
}

// A host's picture is always shown while it arrives; a received ".jpg" when "ZmodemImage" is on.
std::shared_ptr<PostedPicture> TransferBridge::pictureFor(const std::string& protocol, bool send,
                                                          std::function<void()> cancel) {
    if (send || !pictureOpener_ || (protocol != "ZIMAGE" && commValue("ZmodemImage", 1) == 0))
        return nullptr;
    return std::make_shared<PostedPicture>(context_->loop, pictureOpener_, std::move(cancel));
}

// The file goes into the received or sent list of the file manager, partial files with the
// share that arrived; one the engine removed again is not listed.
void TransferBridge::recordFile(const ClosedFile& file) {
    struct stat st {};
    if (!context_ || stat(file.path.c_str(), &st) != 0) return;
    const int64_t size = file.sending || file.size == 0 ? st.st_size : file.size;
    const int64_t fileTime = file.sending || file.fileTime < 0 ? st.st_mtime : file.fileTime;
    const FileRecord record =
        transferredFileRecord(file.path, size, fileTime, file.transferred, std::time(nullptr));
    CRecordStore store(context_->registry);
    const int kind =
        transferredFileKind(file.sending ? TransferDirection::Send : TransferDirection::Receive);
    CQuillonDoc& doc = context_->doc;
    if (AddFileRecord(store, record, kind, doc.CurrentService(), doc.Title()) ==
        AddFileResult::PathNotStorable) {
        context_->frame.ShowStatus("\"" + fileNameOf(file.path) +
                                   "\"의 경로는 송수신 목록에 기록할 수 없습니다.");
    }
}

void TransferBridge::showProgress() {
    if (!view_ || !monitor_ || !progress_) return;
    view_->ShowProgress(progress_->Update(monitor_->Snapshot(), context_->clock.nowMs()));
}

void TransferBridge::Abort() {
    if (monitor_) monitor_->Abort();
}

void TransferBridge::TransferFinished(unsigned serial, int result) {
    if (!context_ || serial != serial_ || !monitor_) return;
    CQuillonDoc& doc = context_->doc;
    const bool aborted = monitor_->Aborted();
    const bool hangUp = hangUpAfter_;
    if (timer_ >= 0) context_->loop.removeTimer(timer_);
    timer_ = -1;
    if (view_ && announce_) view_->CloseProgress();
    monitor_.reset();
    progress_.reset();
    // The closing question may have ended the transfer already.
    if (doc.TransferActive()) doc.EndTransfer(result);
    if (hangUp && !aborted) doc.HangUp(false);
    if (announce_) announceEnd(result, aborted);
    if (result == 0 && !sending_ && !hangUp && view_ &&
        CSettingsSection(context_->registry, "Settings").GetInt("UseInbox", 1) != 0)
        view_->ShowReceivedFiles();
}

void TransferBridge::announceEnd(int result, bool aborted) {
    if (result == 0) {
        PlayEventSound(context_->registry, context_->sound, "파일 송수신 성공", false);
        return;
    }
    if (aborted) return;
    PlayEventSound(context_->registry, context_->sound, "파일 송수신 실패", false);
    if (sending_)
        context_->prompt.tell("파일 보내기가 실패했습니다.", PromptIcon::Warning);
    else
        context_->prompt.tell("파일 받기가 실패했습니다.", PromptIcon::Warning);
}
