#pragma once
// A filter between a byte link and the terminal view: it reads the host's bytes, acts on them
// and sends the user's bytes. The interpreter is the one filter the program uses.
#include <cstdint>
#include <utility>

#include "xfer/GFComLink.h"

class TWView;

// Forwards single bytes and write groups to the link below.
class TWLinkWrapper {
public:
    explicit TWLinkWrapper(GFComLink* link) : link_(link) {}

protected:
    int getByte() { return link_->ReadByte(); }
    void putByte(uint8_t b) { link_->WriteByte(b); }
    void beginHold() { link_->BeginHold(); }
    void endHold() { link_->EndHold(); }

    GFComLink* link_;
};

class TWLinkFilter : public TWLinkWrapper {
public:
    TWLinkFilter(TWView* view, GFComLink* link) : TWLinkWrapper(link), view_(view) {}
    virtual ~TWLinkFilter() = default;

    // The next thing for the session: a byte that was displayed, -802 when input ran out, or
    // one of the negative status codes.
    virtual int GetChar() = 0;
    // Sends one byte typed by the user.
    virtual void PutChar(uint8_t b) = 0;
    // Reads and writes through another link from now on; returns the one used so far.
    GFComLink* ReplaceLink(GFComLink* link) {
        std::swap(link_, link);
        return link;
    }

protected:
    TWView* view_;
};
