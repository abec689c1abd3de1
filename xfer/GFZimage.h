#pragma once
// The picture variant of ZMODEM: receives each file as a fresh stream, never resumes, and
// drops the data of a file it cannot create. It does not send.
#include "xfer/GFZmodem.h"

class GFZimage : public GFZmodem {
public:
    using GFZmodem::GFZmodem;

protected:
    int OpenTransferFile() override;
    // A fresh stream is never resumed: what did not arrive whole is removed.
    bool keepsPartialFiles() const override { return false; }
};
