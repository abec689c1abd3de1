#pragma once
// Where the parts built around the session plug into it: the transfer bridge, the dialler, the
// internet connection, videotex, pictures and the automation of received lines. Every hook does
// nothing here; those parts override what they handle. User-interface thread only.
#include <string>
#include <string_view>

#include "auto/CRecordStore.h"

class SessionHooks {
public:
    virtual ~SessionHooks() = default;

    // The host asks for an automatic ZMODEM receive (-806) or send (-807).
    virtual void OnZmodemRequest(int /*code*/) {}
    virtual void OnHostImageTransfer() {}  // -817
    virtual void OnVideotexStart() {}      // -808
    virtual void OnImageStart() {}         // -815
    virtual void OnImageEnd() {}           // -811

    // A modem entry is dialled by the dialler; an internet entry (or a modem entry dialled
    // through dial-up networking) by the internet connection. Entries hold CP949 text.
    virtual void DialEntry(const Record& /*entry*/) {}
    // address (UTF-8): opened once connected, "" for the start page; dialer: the entry's
    // "Dialer" ("Ruzedaz": through the connector program).
    virtual void ConnectInternet(const std::string& /*address*/, const std::string& /*dialer*/) {}
    // The name (UTF-8) of a dial-up networking connection the program made and is still up,
    // "" when there is none; HangUpInternet ends it.
    virtual std::string InternetConnection() { return ""; }
    virtual void HangUpInternet() {}

    // A connection began or ended: per-connection state of the automation is reset.
    virtual void OnConnectionChanged(bool /*online*/) {}
    // A received line (CP949), complete or, when input pauses inside it, partial. True when
    // the hook took the line (the dialler reading result words): it then goes no further.
    virtual bool OnLine(std::string_view /*line*/, bool /*partial*/) { return false; }
    // The current service changed (CP949 name): per-service automation starts over.
    virtual void OnServiceChanged(const std::string& /*service*/) {}
    // Online, input has stopped and the link has nothing queued: the screen is settled.
    virtual void OnInputSettled() {}
};
