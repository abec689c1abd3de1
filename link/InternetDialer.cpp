#include "link/InternetDialer.h"

#include <algorithm>

#include "auto/CSettingsSection.h"
#include "link/CQuillonDoc.h"
#include "link/InternetSettings.h"

namespace {

const std::string kConnectorDialer = "Ruzedaz";
const std::string kWizard = "vninet95";
const std::string kNetquay = "NetquayInternet";

const char* const kConfirmText =
    "인터넷에 연결하면 통신 요금 외에 분당 이용 요금이 추가될 수 있습니다.\n\n"
    "인터넷에 연결하시겠습니까?";
const char* const kModemOnlineText =
    "모뎀으로 연결한 상태이므로 인터넷 연결을 할 수 없습니다.\n\n모뎀을 강제로 닫은후 인터넷 "
    "연결을 하시겠습니까?";
const char* const kWizardNotFoundText = "반트라 인터넷 환경 마법사를 실행할 수 없습니다.";
const char* const kWizardFailedText =  // 61473
    "반트라 인터넷 환경 마법사를 시작하지 못했습니다.\n\n프로그램이 올바르게 설치되었는지 "
    "확인하십시오.";
const char* const kAlreadyConnectedText = "이미 인터넷에 전화 접속 네트워킹으로 연결된 상태입니다.";
const char* const kNetquayOfferText =
    "인터넷 연결 서비스인 Netquay 설치 프로그램이 이전에 실행된 적이 없습니다.\n\n"
    "지금 실행하시겠습니까?";
const char* const kNetquayNotFoundText = "Netquay 설치 프로그램을 실행할 수 없습니다.";
const char* const kNoAutodialText =  // 61466
    "기본 전화 접속 네트워킹 연결이 없거나 모뎀으로 인터넷에 연결하도록 설정되어 있지 "
    "않습니다.\n\n통신 설정의 \"인터넷 연결\"에서 \"모뎀으로 인터넷에 연결\"을 선택하고 사용할 "
    "연결을 지정하십시오.";
const char* const kNoProfileText =  // 61471
    "인터넷 연결에 사용할 전화 접속 네트워킹 연결이 지정되어 있지 않습니다.\n\n인터넷 연결 "
    "서비스인 Netquay 설치 프로그램을 실행하시겠습니까?";
const char* const kWaitText = "인터넷에 연결하는 중입니다...";
const char* const kFailedText = "인터넷 연결 실패";

// 61448
std::string notInstalledText(const std::string& reason) {
    return "전화 접속 네트워킹이 설치되어 있지 않습니다. (" + reason +
           ")\n\n반트라 인터넷 환경 마법사를 실행하시겠습니까?";
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

bool isHostChar(char c) {
    return isAsciiDigit(c) || (asciiLower(c) >= 'a' && asciiLower(c) <= 'z') || c == '-' ||
           c == '.';
}

// A bare host name, with an optional ":port" and a path after "/".
bool isBareHost(const std::string& text) {
    const size_t hostEnd = text.find_first_of(":/");
    const std::string host = text.substr(0, hostEnd);
    if (host.empty() || host.front() == '-' || host.front() == '.' ||
        !std::all_of(host.begin(), host.end(), isHostChar)) {
        return false;
    }
    if (hostEnd == std::string::npos || text[hostEnd] == '/') return true;
    const size_t portEnd = text.find('/', hostEnd);
    const std::string port = text.substr(hostEnd + 1, portEnd - hostEnd - 1);
    return !port.empty() && port.size() <= 5 && std::all_of(port.begin(), port.end(), isAsciiDigit);
}

}  // namespace

std::optional<std::string> BrowsableAddress(const std::string& address) {
    if (address.empty() || std::any_of(address.begin(), address.end(), [](char c) {
            return static_cast<unsigned char>(c) <= ' ' || c == 0x7f;
        })) {
        return std::nullopt;
    }
    for (const char* scheme : {"http://", "https://", "ftp://"}) {
        if (startsWithNoCase(address, scheme)) {
            return address.size() > std::string(scheme).size() ? std::optional(address)
                                                               : std::nullopt;
        }
    }
    if (address.find("://") != std::string::npos || !isBareHost(address)) return std::nullopt;
    return "http://" + address;
}

InternetDialer::InternetDialer(const InternetContext& context)
    : ctx_(context), connectorDial_(context.loop, context.launcher) {}

InternetDialer::~InternetDialer() {
    if (cancelTimer_ >= 0) ctx_.loop.removeTimer(cancelTimer_);
    if (reopenTimer_ >= 0) ctx_.loop.removeTimer(reopenTimer_);
}

void InternetDialer::ConnectInternet(const std::string& address, const std::string& dialer) {
    if (dialling_) return;
    const bool connector = dialer == kConnectorDialer;
    if (!confirm()) return;
    if (ctx_.doc.Online() && ctx_.doc.LinkMode() == CQuillonDoc::kModemMode &&
        ctx_.prompt.ask(kModemOnlineText, PromptButtons::YesNo, PromptIcon::Question) !=
            PromptAnswer::Yes) {
        return;
    }
    if (!checksPass(connector)) return;

    // The modem goes to dial-up networking.
    dialling_ = true;
    address_ = address;
    dialled_ = connector ? "" : LoadInternetSettings(ctx_.registry).profile;
    ctx_.frame.EnableFrame(false);
    ctx_.frame.ClearScreen();
    ctx_.doc.CloseLink();
    if (reopenTimer_ >= 0) ctx_.loop.removeTimer(reopenTimer_);
    reopenTimer_ = -1;
    notice_ = ctx_.prompt.beginWait(kWaitText, 500);
    cancelTimer_ = ctx_.loop.addTimer(kWaitPollMs, true, [this] { pollCancel(); });
    if (connector) {
        connectorDial_.start(ctx_.connector, [this](ConnectorDial::Outcome outcome) {
            if (outcome == ConnectorDial::Outcome::Failed) ctx_.frame.ClearScreen();
            dialEnded(outcome == ConnectorDial::Outcome::Connected ? 0 : -1, true);
        });
    } else {
        ctx_.backend.dial(dialled_, [this](int code) { dialEnded(code, false); });
    }
}

bool InternetDialer::confirm() {
    CSettingsSection comm(ctx_.registry, "Comm");
    if (comm.GetInt("QPPP", 1) == 0) return true;
    PromptRequest request{
        kConfirmText, PromptButtons::YesNo, PromptIcon::Question, "인터넷 연결시 항상 확인(&A)",
        true,         "인터넷 연결"};
    const PromptReply reply = ctx_.prompt.show(request);
    if (reply.answer != PromptAnswer::Yes) return false;
    comm.SetInt("QPPP", reply.checked ? 1 : 0);
    return true;
}

bool InternetDialer::checksPass(bool connector) {
    std::string reason;
    if (!ctx_.backend.installed(reason)) {
        if (ctx_.prompt.ask(notInstalledText(reason), PromptButtons::YesNo, PromptIcon::Question) ==
            PromptAnswer::Yes) {
            startProgram(kWizard, kWizardNotFoundText, kWizardFailedText);
        }
        return false;
    }
    if (!ctx_.backend.activeConnections().empty()) {
        ctx_.prompt.tell(kAlreadyConnectedText, PromptIcon::Information);
        return false;
    }
    if (connector) return true;
    InternetSettings settings = LoadInternetSettings(ctx_.registry);
    if (settings.offerNetquay) {
        CSettingsSection(ctx_.registry, "Comm").SetInt("NetquayInternet", 0);
        if (ctx_.prompt.ask(kNetquayOfferText, PromptButtons::YesNo, PromptIcon::Question) ==
            PromptAnswer::Yes) {
            startProgram(kNetquay, kNetquayNotFoundText, kNetquayNotFoundText);
            return false;
        }
    }
    if (settings.profile.empty()) {
        if (ctx_.prompt.ask(kNoProfileText, PromptButtons::YesNo, PromptIcon::Question) ==
            PromptAnswer::Yes) {
            startProgram(kNetquay, kNetquayNotFoundText, kNetquayNotFoundText);
        }
        return false;
    }
    if (!settings.autodial) {
        ctx_.prompt.tell(kNoAutodialText, PromptIcon::Information);
        return false;
    }
    return true;
}

void InternetDialer::startProgram(const std::string& program, const std::string& notFoundText,
                                  const std::string& failedText) {
    if (!ProcessLauncher::programFound(program)) {
        ctx_.prompt.tell(notFoundText, PromptIcon::Warning);
    } else if (ctx_.launcher.start({program}, "", true).pid < 0) {
        ctx_.prompt.tell(failedText, PromptIcon::Warning);
    }
}

void InternetDialer::pollCancel() {
    if (!notice_ || !notice_->cancelled()) return;
    notice_.reset();
    if (dialled_.empty()) {
        connectorDial_.cancel();
    } else {
        ctx_.backend.hangUp(dialled_);  // the dial then ends as cancelled
    }
}

void InternetDialer::dialEnded(int code, bool connector) {
    ctx_.loop.removeTimer(cancelTimer_);
    cancelTimer_ = -1;
    notice_.reset();
    dialling_ = false;
    ctx_.frame.EnableFrame(true);
    if (code != 0) {
        ctx_.frame.ShowStatus(connector
                                  ? std::string(kFailedText)
                                  : std::string(kFailedText) + ": " + ctx_.backend.errorText(code));
        reopenModemAfter(kFailedReopenMs);
        return;
    }
    if (connector) {
        const std::vector<std::string> up = ctx_.backend.activeConnections();
        activeConnection_ = up.empty() ? "" : up.front();
    } else {
        activeConnection_ = ctx_.backend.connectStatus(dialled_) ? dialled_ : "";
    }
    if (activeConnection_.empty()) {
        reopenModemAfter(kNotFoundReopenMs);
        return;
    }
    openAddress();
}

void InternetDialer::openAddress() {
    std::string address = address_;
    if (address.empty())
        address = CSettingsSection(ctx_.registry, "Settings").GetString("StartPage");
    if (address.empty()) return;
    const std::optional<std::string> url = BrowsableAddress(address);
    if (!url) {
        ctx_.prompt.tell("열 수 없는 주소입니다: " + address, PromptIcon::Warning);
        return;
    }
    ctx_.launcher.openDocument(*url);
}

void InternetDialer::reopenModemAfter(int ms) {
    reopenTimer_ = ctx_.loop.addTimer(ms, false, [this] {
        reopenTimer_ = -1;
        if (ctx_.doc.LinkMode() == CQuillonDoc::kModemMode && !ctx_.doc.LinkOpen() &&
            ctx_.doc.OpenModemLink()) {
            ctx_.doc.InitModem(false);
        }
    });
}

void InternetDialer::HangUpInternet() {
    if (activeConnection_.empty()) return;
    ctx_.backend.hangUp(activeConnection_);
    activeConnection_.clear();
    ctx_.loop.runFor(kHangUpPauseMs);
}

bool InternetDialer::OfferHangUp() {
    const std::string name = InternetConnection();
    if (name.empty()) return false;
    if (ctx_.prompt.ask("\"" + name + "\"을(를) 통해 인터넷에 연결 중입니다. 연결을 끊습니다.",
                        PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes) {
        HangUpInternet();
        reopenModemAfter(0);
    }
    return true;
}

bool InternetDialer::IsInternetConnected() {
    if (!activeConnection_.empty() && !ctx_.backend.connectStatus(activeConnection_))
        activeConnection_.clear();
    return !activeConnection_.empty();
}
