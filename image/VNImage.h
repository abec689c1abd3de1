#pragma once
// The host's byte-level access to the terminal link, handed to the library once with
// VNImageInit and kept by value.
#include <functional>

#include "platform/Prompt.h"

class DImageDoc;

struct VNImageHooks {
    // The next byte the link received, or a negative value when none is waiting.
    std::function<int()> readByte;
    // Sends one byte to the link.
    std::function<void(int byte)> writeByte;
    // Sets the session's link-busy value: 1 while a picture transfer owns the stream, 0 after.
    std::function<void(int mode)> setMode;
    // The session's link-busy value; 2 asks for the transfer to stop.
    std::function<int(const DImageDoc& doc)> query;
};

// Keeps the hooks; 1. A null record or a missing callback shows "Invalid DLL Version" captioned
// "vnimage.dll" and gives 0.
int VNImageInit(const VNImageHooks* hooks, Prompt& prompt);
// The hooks kept by VNImageInit; null before it succeeded.
const VNImageHooks* VNImageHooksInUse();
