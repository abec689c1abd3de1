#include "link/TelnetOptions.h"

namespace {

bool supported(uint8_t option) {
    return option == telnet::kBinary || option == telnet::kEcho || option == telnet::kSga ||
           option == telnet::kTtype;
}

// Agrees to or refuses a request: an agreement is answered only when it changes the state; a
// refusal of an option we do not know is always answered.
uint8_t request(bool& state, uint8_t option, uint8_t yes, uint8_t no) {
    if (!supported(option)) {
        state = false;
        return no;
    }
    if (state) return 0;
    state = true;
    return yes;
}

// The host stops (or tells us to stop): answered only when the option was on.
uint8_t release(bool& state, uint8_t no) {
    if (!state) return 0;
    state = false;
    return no;
}

}  // namespace

uint8_t TelnetOptions::answer(uint8_t verb, uint8_t option) {
    switch (verb) {
        case telnet::kDo:
            return request(local_[option], option, telnet::kWill, telnet::kWont);
        case telnet::kDont:
            return release(local_[option], telnet::kWont);
        case telnet::kWill:
            return request(remote_[option], option, telnet::kDo, telnet::kDont);
        case telnet::kWont:
            return release(remote_[option], telnet::kDont);
        default:
            return 0;
    }
}
