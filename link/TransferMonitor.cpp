#include "link/TransferMonitor.h"

#include <algorithm>
#include <cctype>

#include "link/TransferNames.h"

namespace {

std::string lowerExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
    std::string ext = path.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace

TransferMonitor::TransferMonitor(TransferMonitorSetup setup) : setup_(std::move(setup)) {
    SetSending(setup_.sending ? 1 : 0);
    snapshot_.sending = setup_.sending;
}

TransferSnapshot TransferMonitor::Snapshot() const {
    std::lock_guard<std::mutex> hold(lock_);
    return snapshot_;
}

int TransferMonitor::UserMonitor(int lastError) {
    std::lock_guard<std::mutex> hold(lock_);
    snapshot_.errors = GetErrors();
    return lastError;
}

void TransferMonitor::SetPos(unsigned long pos) {
    GFMonitor::SetPos(pos);
    if (imageInProgress_) setup_.picture->Grown(pos);
    if (mediaStart_ != 0 && pos >= mediaStart_) startMedia();
    std::lock_guard<std::mutex> hold(lock_);
    snapshot_.position = pos;
}

void TransferMonitor::startMedia() {
    mediaStart_ = 0;
    if (setup_.openMedia) setup_.openMedia(GetFileName());
}

void TransferMonitor::SetTransferType(int type) {
    GFMonitor::SetTransferType(type);
    std::lock_guard<std::mutex> hold(lock_);
    snapshot_.protocol = GetProtocol();
}

void TransferMonitor::SetFileLength(unsigned long n) {
    GFMonitor::SetFileLength(n);
    std::lock_guard<std::mutex> hold(lock_);
    snapshot_.length = n;
    snapshot_.totalBytes = GetTotalBytes();
}

// A received name is the host's bare name: it goes into the download folder. An absolute one
// is the path the user chose for a protocol that carries no name.
std::string TransferMonitor::placedPath(const char* name) const {
    const std::string given = name ? name : "";
    if (setup_.sending || (!given.empty() && given[0] == '/')) return given;
    std::string local = localFileName(given);
    if (local.empty()) local = "_";
    return setup_.downloadFolder + "/" + local;
}

void TransferMonitor::SetFileName(const char* name) {
    const std::string path = placedPath(name);
    GFMonitor::SetFileName(path.c_str());
    const std::string ext = lowerExtension(path);
    mediaStart_ = 0;
    if (!setup_.sending && setup_.playMedia) {
        if (ext == ".ra" || ext == ".mp3") mediaStart_ = kLargeMediaStart;
        if (ext == ".vmi") mediaStart_ = kSmallMediaStart;
    }
    imageInProgress_ = !setup_.sending && setup_.picture &&
                       (setup_.imageTransfer || (GetProtocol() != "<NONE>" && ext == ".jpg"));
    if (imageInProgress_) setup_.picture->Open(path);
    std::lock_guard<std::mutex> hold(lock_);
    snapshot_.fileName = path;
}

void TransferMonitor::PostOpen() {
    if (imageInProgress_) setup_.picture->Reload();
}

void TransferMonitor::OnRecovery() {
    GFMonitor::OnRecovery();
    std::lock_guard<std::mutex> hold(lock_);
    snapshot_.recovered += GetResumePos();
}

void TransferMonitor::SetTotalInfo(int files, unsigned long bytes) {
    GFMonitor::SetTotalInfo(files, bytes);
    std::lock_guard<std::mutex> hold(lock_);
    snapshot_.totalFiles = files;
    snapshot_.totalBytes = bytes;
}

void TransferMonitor::NextFile() {
    GFMonitor::NextFile();
    std::lock_guard<std::mutex> hold(lock_);
    snapshot_.doneBefore += snapshot_.position;
    snapshot_.position = 0;
    snapshot_.fileCount = GetFileCount();
}

// A skipped file was not transferred (the receiver had it whole already).
void TransferMonitor::OnCloseFile(int skipped) {
    if (imageInProgress_) setup_.picture->Ended();
    imageInProgress_ = false;
    if (skipped || !setup_.fileClosed || GetFileName().empty()) return;
    setup_.fileClosed(
        ClosedFile{GetFileName(), setup_.sending, GetFileLength(), GetPos(), GetFileTime()});
}

std::string TransferMonitor::AnnouncedName(const std::string& path) {
    return hostFileName(path);
}
