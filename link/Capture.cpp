#include "link/Capture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "auto/CRecordStore.h"
#include "auto/CSettingsSection.h"
#include "auto/FileRecords.h"
#include "auto/Folders.h"
#include "platform/Trash.h"
#include "platform/UserDirs.h"
#include "term/CopyText.h"

namespace {

// Where the first CR or LF of the text is (its size when there is none). Text runs rarely hold
// one, so the search goes eight bytes at a time: a byte equal to c makes (w ^ c...) hold a
// zero byte, which (x - 0x01...) & ~x & 0x80... finds.
size_t firstLineEnd(std::string_view text) {
    constexpr uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
    auto hasZeroByte = [](uint64_t x) { return ((x - ones) & ~x & highs) != 0; };
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if (hasZeroByte(word ^ ones * '\r') || hasZeroByte(word ^ ones * '\n')) break;
    }
    while (i < text.size() && text[i] != '\r' && text[i] != '\n')
        ++i;
    return i;
}

constexpr char kCaptureFilter[] = "텍스트 파일 (.txt)|*.txt|모든 파일|*.*|";
constexpr char kScreenFilter[] = "문자 형태로 (*.txt)|*.txt|그림 형태로 (*.bmp)|*.bmp|";
constexpr char kAlwaysAppendBox[] = "파일이 있을 경우 항상 추가(&A)";
constexpr char kViewAfterSaveBox[] = "저장후 편집기로 보기(&P)";
constexpr int kPictureFilter = 1;

struct CaptureSettings {
    bool alwaysAppend;
    bool viewAfterSave;
};

CaptureSettings loadSettings(Registry& registry) {
    CSettingsSection section(registry, "Settings\\Capture");
    return {section.GetInt("AlwaysAppend", 1) != 0, section.GetInt("ViewAfterSave", 1) != 0};
}

void saveSettings(Registry& registry, const CaptureSettings& settings) {
    CSettingsSection section(registry, "Settings\\Capture");
    section.SetInt("AlwaysAppend", settings.alwaysAppend ? 1 : 0);
    section.SetInt("ViewAfterSave", settings.viewAfterSave ? 1 : 0);
}

std::string reason(int error) {
    return std::strerror(error);
}

bool fileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

Capture::Capture(Registry& registry, Prompt& prompt, TWView& view, CaptureHost& host)
    : registry_(registry), prompt_(prompt), view_(view), host_(host) {}

// The session may already be gone (its recorder then finds `alive_` empty); the view is not.
Capture::~Capture() {
    *alive_ = nullptr;
    if (mode_ == Mode::Text) view_.SetDisplayTap({});
}

bool Capture::SetMode(Mode mode) {
    if (state_ != State::Off) return false;
    mode_ = mode;
    host_.CaptureChanged();
    return true;
}

void Capture::StartOrFinish() {
    if (state_ == State::Off)
        StartCapture();
    else
        FinishCaptureWithSave();
}

void Capture::SaveScreenCommand() {
    if (state_ == State::Off)
        SaveScreen();
    else
        AddScreenToCapture();
}

bool Capture::StartCapture() {
    if (state_ != State::Off) return false;
    // No capture without its file: the recorder never writes to a file that is not open.
    if (const int error = file_.Create(tempDir())) {
        tell(file_.path() + "\n파일을 만들 수 없습니다. (" + reason(error) + ")",
             PromptIcon::Error);
        return false;
    }
    state_ = State::Recording;
    lastWasCR_ = false;
    host_.ShowStatus(std::string(mode_ == Mode::Code ? "코드 " : "") + "갈무리를 시작합니다.");
    installRecorder();
    host_.CaptureChanged();
    return true;
}

void Capture::installRecorder() {
    if (mode_ == Mode::Code) {
        host_.SetRawTap([alive = alive_](const uint8_t* bytes, int n) {
            if (Capture* capture = *alive) capture->Record(bytes, n);
        });
    } else {
        view_.SetDisplayTap([this](const uint8_t* bytes, int n) { Record(bytes, n); });
    }
}

void Capture::removeRecorder() {
    if (mode_ == Mode::Code)
        host_.SetRawTap({});
    else
        view_.SetDisplayTap({});
}

void Capture::PauseCapture() {
    if (state_ == State::Recording) {
        state_ = State::Paused;
        removeRecorder();
    } else if (state_ == State::Paused) {
        state_ = State::Recording;
        installRecorder();
    }
    host_.CaptureChanged();
}

void Capture::Record(const uint8_t* bytes, int n) {
    if (state_ != State::Recording || n <= 0) return;
    const std::string_view run(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
    recordFailed(mode_ == Mode::Code ? file_.Write(run) : writeNormalised(run));
}

// LF and CR LF become CR LF; runs of CR collapse to one. Text between line ends is written
// as it comes.
int Capture::writeNormalised(std::string_view text) {
    while (!text.empty()) {
        const size_t end = firstLineEnd(text);
        if (end != 0) {
            const std::string_view plain = text.substr(0, end);
            if (const int error = file_.Write(plain)) return error;
            lastWasCR_ = false;
            text.remove_prefix(plain.size());
            continue;
        }
        const bool cr = text[0] == '\r';
        int error = 0;
        if (!cr) error = file_.Write(lastWasCR_ ? "\n" : "\r\n");
        if (cr && !lastWasCR_) error = file_.Write("\r");
        lastWasCR_ = cr;
        text.remove_prefix(1);
        if (error) return error;
    }
    return 0;
}

// A recording that cannot be written is paused rather than silently losing what follows.
bool Capture::recordFailed(int error) {
    if (!error) return false;
    if (state_ == State::Recording) PauseCapture();
    host_.ShowStatus("갈무리 파일에 쓰지 못해 갈무리를 잠시 중지합니다. (" + reason(error) + ")");
    return true;
}

void Capture::AddScreenToCapture() {
    if (state_ == State::Off) return;
    host_.ShowStatus("현재 화면을 갈무리 내용에 추가합니다.");
    recordFailed(file_.Write(CopyScreen(view_)));
}

std::string Capture::EndCapture() {
    removeRecorder();
    const int error = file_.Close();
    state_ = State::Off;
    host_.CaptureChanged();
    if (error) host_.ShowStatus("갈무리 파일을 마저 쓰지 못했습니다. (" + reason(error) + ")");
    return file_.path();
}

void Capture::FinishCaptureAndView() {
    if (state_ == State::Off) return;
    host_.OpenInEditor(EndCapture());
}

std::string Capture::proposedPath() {
    if (!lastFileName_.empty()) return lastFileName_;
    const time_t now = static_cast<time_t>(host_.Now());
    struct tm local;
    localtime_r(&now, &local);
    char name[32];
    std::snprintf(name, sizeof name, "s%02d%02d.txt", local.tm_mon + 1, local.tm_mday);
    return GetFolder(registry_, FolderKind::Capture) + "/" + name;
}

void Capture::FinishCaptureWithSave() {
    if (state_ == State::Off) return;
    const std::string temporary = EndCapture();
    CaptureSettings settings = loadSettings(registry_);
    const std::filesystem::path proposed = proposedPath();
    FileRequest request;
    request.kind = FileDialogKind::Save;
    request.caption = "갈무리 결과";
    request.filter = kCaptureFilter;
    request.folder = proposed.parent_path().string();
    request.fileName = proposed.filename().string();
    request.defaultExtension = "txt";
    request.checks = {{kAlwaysAppendBox, settings.alwaysAppend}};
    request.extraButton = "저장않고\n보기(&V)";
    const FileReply reply = askSaveName(request);
    if (!reply.checks.empty()) settings.alwaysAppend = reply.checks[0];
    saveSettings(registry_, settings);

    if (reply.answer == FileAnswer::Extra) host_.OpenInEditor(temporary);
    if (reply.answer != FileAnswer::Accepted) return;  // Cancel keeps the temporary file
    lastFileName_ = reply.paths[0];
    storeRecording(temporary, reply.paths[0], settings.viewAfterSave);
}

// Asks again while the user declines to replace an existing file; Yes moves the old file to
// the trash, and a failed move keeps it (and asks again).
// Both dialogs carry the "always append" box first; a picture is never appended to.
FileReply Capture::askSaveName(FileRequest request) {
    for (;;) {
        FileReply reply = prompt_.askFile(request);
        if (reply.answer != FileAnswer::Accepted || reply.paths.empty()) {
            if (reply.answer == FileAnswer::Accepted) reply.answer = FileAnswer::Cancelled;
            return reply;
        }
        const bool alwaysAppend =
            reply.checks.empty() ? request.checks[0].checked : reply.checks[0];
        const bool appendsText = alwaysAppend && reply.filter != kPictureFilter;
        const std::string& path = reply.paths[0];
        if (appendsText || !fileExists(path) || replaceExisting(path)) return reply;
        // Asked again as the user left it.
        const std::filesystem::path chosen = path;
        request.folder = chosen.parent_path().string();
        request.fileName = chosen.filename().string();
        for (size_t i = 0; i < request.checks.size() && i < reply.checks.size(); ++i)
            request.checks[i].checked = reply.checks[i];
    }
}

bool Capture::replaceExisting(const std::string& path) {
    if (prompt_.ask(path + "\n이 파일이 이미 존재합니다.\n\n기존 파일을 바꾸시겠습니까?",
                    PromptButtons::YesNo, PromptIcon::Warning) != PromptAnswer::Yes)
        return false;
    if (const int error = moveToTrash(path)) {
        tell(path + "\n파일을 휴지통으로 옮기지 못했습니다. (" + reason(error) + ")",
             PromptIcon::Error);
        return false;
    }
    return true;
}

void Capture::storeRecording(const std::string& temporary, const std::string& chosen,
                             bool viewAfterSave) {
    if (const int error = StoreCapture(temporary, chosen)) {
        tell("갈무리 내용을 " + chosen + "에 저장하지 못했습니다. (" + reason(error) +
                 ")\n갈무리 내용은 " + temporary + "에 남아 있습니다.",
             PromptIcon::Error);
        return;
    }
    struct stat info {};
    ::stat(chosen.c_str(), &info);
    FileRecord record;
    record.path = chosen;
    record.size = info.st_size;
    record.fileTime = info.st_mtime;
    CRecordStore store(registry_);
    const AddFileResult added =
        AddFileRecord(store, record, RecordKind::CaptureFile, host_.Service(), host_.Title());
    if (added == AddFileResult::PathNotStorable)
        host_.ShowStatus(chosen + ": 이 이름은 송수신 목록에 기록할 수 없습니다.");
    if (viewAfterSave) host_.OpenInEditor(chosen);
    ::unlink(temporary.c_str());
}

void Capture::SaveScreen() {
    if (state_ != State::Off) return;
    CaptureSettings settings = loadSettings(registry_);
    FileRequest request;
    request.kind = FileDialogKind::Save;
    request.caption = "화면 저장";
    request.filter = kScreenFilter;
    request.folder = GetFolder(registry_, FolderKind::Capture);
    request.defaultExtension = "txt";
    request.checks = {{kAlwaysAppendBox, settings.alwaysAppend},
                      {kViewAfterSaveBox, settings.viewAfterSave}};
    request.checksForFilter = 0;
    request.extraButton = "클립보드에(&C)";
    const FileReply reply = askSaveName(request);
    if (reply.checks.size() == 2) settings = {reply.checks[0], reply.checks[1]};
    saveSettings(registry_, settings);

    const bool picture = reply.filter == kPictureFilter;
    if (reply.answer == FileAnswer::Extra && !host_.CopyToClipboard(picture))
        host_.ShowStatus("클립보드를 열 수 없습니다.");
    if (reply.answer != FileAnswer::Accepted) return;
    if (picture)
        savePicture(reply.paths[0]);
    else
        saveScreenText(reply.paths[0], settings.viewAfterSave);
}

void Capture::saveScreenText(const std::string& path, bool viewAfterSave) {
    if (const int error = appendToFile(path, CopyScreen(view_))) {
        tell(path + "\n화면을 저장하지 못했습니다. (" + reason(error) + ")", PromptIcon::Error);
        return;
    }
    if (viewAfterSave) host_.OpenInEditor(path);
}

void Capture::savePicture(const std::string& path) {
    if (!host_.SavePicture(path))
        tell(path + "\n화면을 그림으로 저장하지 못했습니다.", PromptIcon::Error);
}

void Capture::tell(const std::string& text, PromptIcon icon) {
    prompt_.tell(text, icon);
}
