#include "link/CommandLine.h"

#include <charconv>
#include <sstream>
#include <string_view>

namespace {

constexpr std::string_view kTelnetScheme = "telnet://";

// A decimal port number 1..65535 and nothing else; 0 when the text is not one.
int parsePort(std::string_view text) {
    int port = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size()) return 0;
    return port >= 1 && port <= 65535 ? port : 0;
}

ConnectRequest invalid(std::string text) {
    ConnectRequest request;
    request.kind = ConnectRequest::Kind::Invalid;
    request.error = std::move(text);
    return request;
}

ConnectRequest entryRequest(const std::vector<std::string>& words, bool modem) {
    if (words.size() < 2) {
        return invalid(modem ? "/m 다음에 모뎀 연결 이름을 입력하십시오."
                             : "/t 다음에 텔넷 연결 이름을 입력하십시오.");
    }
    ConnectRequest request;
    request.kind = modem ? ConnectRequest::Kind::ModemEntry : ConnectRequest::Kind::TelnetEntry;
    for (size_t i = 1; i < words.size(); ++i) {
        if (i > 1) request.entry += ' ';
        request.entry += words[i];
    }
    return request;
}

}  // namespace

std::string BadPortText(const std::string& port) {
    return "포트 번호가 올바르지 않습니다: " + port;
}

ConnectRequest ParseCommandLine(const std::vector<std::string>& words) {
    if (words.empty()) return {};
    const std::string& first = words[0];
    if (first == "/t" || first == "/T") return entryRequest(words, false);
    if (first == "/m" || first == "/M") return entryRequest(words, true);
    if (words.size() > 2)
        return invalid("명령행을 이해할 수 없습니다: 호스트 [포트], /t 연결 이름, /m 연결 이름");

    ConnectRequest request;
    request.kind = ConnectRequest::Kind::Host;
    request.host = first;
    if (request.host.starts_with(kTelnetScheme)) request.host.erase(0, kTelnetScheme.size());
    if (request.host.empty()) return invalid("호스트 이름이 없습니다.");
    if (words.size() == 2) {
        request.port = parsePort(words[1]);
        if (request.port == 0) return invalid(BadPortText(words[1]));
    }
    return request;
}

TelnetAddress SplitTelnetAddress(std::string host, int port) {
    TelnetAddress address;
    if (!host.empty() && host.back() == '/') host.pop_back();
    const size_t colon = host.find(':');
    if (colon != std::string::npos && host.find(':', colon + 1) == std::string::npos) {
        address.portText = host.substr(colon + 1);
        port = parsePort(address.portText);
        address.valid = port != 0;
        host.erase(colon);
    }
    address.host = std::move(host);
    address.port = port;
    return address;
}

std::vector<std::string> CommandLineWords(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}
