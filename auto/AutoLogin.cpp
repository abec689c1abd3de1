#include "auto/AutoLogin.h"

#include "auto/CSettingsSection.h"

namespace {

std::string field(const Record& record, const std::string& name) {
    auto found = record.find(name);
    return found == record.end() ? std::string() : found->second;
}

}  // namespace

AutoLogin::AutoLogin(Registry& registry, Clock& clock) : registry_(registry), clock_(clock) {
    CSettingsSection settings(registry_, "Settings");
    useLogin_ = settings.GetInt("UseLogin", 1) != 0;
    useAutoLogin_ = settings.GetInt("UseAutoLogin", 0) != 0;
}

void AutoLogin::LoadLoginData(const std::string& service) {
    ++loads_;
    state_ = kDone;
    loginString_.clear();
    passwordString_.clear();
    ids_.clear();
    ownId_.clear();
    password_.clear();
    CRecordStore store(registry_);
    if (service.empty() || !store.SelectKind(RecordKind::ServiceValues)) return;
    std::optional<RegKey> key = store.FindRecord(service);
    Record values;
    if (!key || !store.ReadRecord(*key, values)) return;
    loginString_ = field(values, "LoginString");
    passwordString_ = field(values, "PasswordString");
    if (loginString_.empty() || passwordString_.empty()) return;
    if (store.LoadIdList(*key, ids_)) state_ = kWaiting;
}

void AutoLogin::LoginStep(std::string_view line, LoginPeer& peer) {
    if (!Pending()) return;
    if (!useLogin_) return finish();
    if (state_ == kWaiting && line.find(loginString_) != std::string_view::npos)
        answerIdPrompt(peer);
    else if (state_ == kIdSent)
        answerPasswordPrompt(line, peer);
}

void AutoLogin::answerIdPrompt(LoginPeer& peer) {
    peer.RedrawNow();
    LoginChoice choice{field(ids_.front(), "Title"), field(ids_.front(), "Password"),
                       useAutoLogin_};
    const bool automatic = useAutoLogin_ && !choice.id.empty();
    if (!automatic) {
        const unsigned loads = loads_;
        peer.AttractUser();
        choosing_ = true;
        const bool confirmed = peer.ChooseLogin(ids_, choice);
        choosing_ = false;
        // The connection ended or the service changed meanwhile: that state stands.
        if (loads != loads_) return;
        if (!confirmed || !peer.Connected()) return finish();
        if (choice.autoSelect != useAutoLogin_) setUseAutoLogin(choice.autoSelect);
    }
    ownId_ = choice.id;
    peer.SendLine(choice.id);
    if (choice.password.empty()) return finish();
    password_ = choice.password;
    idSentAtMs_ = clock_.nowMs();
    state_ = kIdSent;
}

// A password prompt long after the ID is not the log-in's (a chat line saying "Password: "):
// the password is never sent to it.
void AutoLogin::answerPasswordPrompt(std::string_view line, LoginPeer& peer) {
    if (clock_.nowMs() - idSentAtMs_ > kPasswordWindowMs) return finish();
    if (line.find(passwordString_) == std::string_view::npos) return;
    const std::string password = password_;
    finish();
    peer.SendLine(password);
}

void AutoLogin::finish() {
    state_ = kDone;
    password_.clear();
}

bool AutoLogin::ToggleUseLogin() {
    useLogin_ = !useLogin_;
    CSettingsSection(registry_, "Settings").SetInt("UseLogin", useLogin_ ? 1 : 0);
    return useLogin_;
}

bool AutoLogin::ToggleUseAutoLogin() {
    setUseAutoLogin(!useAutoLogin_);
    return useAutoLogin_;
}

void AutoLogin::setUseAutoLogin(bool on) {
    useAutoLogin_ = on;
    CSettingsSection(registry_, "Settings").SetInt("UseAutoLogin", on ? 1 : 0);
}
