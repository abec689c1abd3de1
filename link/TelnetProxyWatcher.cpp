#include "link/TelnetProxyWatcher.h"

namespace {

const std::string kUserPrompt = "Username: ";
const std::string kCrNul("\r\0", 2);

}  // namespace

void TelnetProxyWatcher::start(std::string user, std::string prompt, std::string command) {
    user_ = {user.empty() ? "" : kUserPrompt, 0};
    prompt_ = {std::move(prompt), 0};
    userName_ = std::move(user);
    command_ = std::move(command);
}

bool TelnetProxyWatcher::Pattern::matched(uint8_t c) {
    if (text.empty()) return false;
    if (c == '\r' || c == '\n') {
        index = 0;
        return false;
    }
    if (index < 0) return false;
    if (static_cast<uint8_t>(text[static_cast<size_t>(index)]) != c) {
        index = -1;
        return false;
    }
    if (++index < static_cast<int>(text.size())) return false;
    index = -1;
    return true;
}

std::string TelnetProxyWatcher::see(uint8_t c) {
    const bool userAsked = user_.matched(c);
    const bool promptShown = prompt_.matched(c);
    std::string reply;
    if (userAsked) {
        user_.text.clear();
        reply += userName_ + kCrNul;
    }
    if (promptShown) {
        stop();
        reply += "telnet " + command_ + kCrNul;
    }
    return reply;
}
