#pragma once
// The paced sender of texts the program sends for the user, and the firing of an auto macro.
// Both work over MacroOutput, which the session implements.
#include <cstdint>
#include <string>
#include <string_view>

#include "auto/AutoMacroPattern.h"
#include "auto/CRecordStore.h"

class MacroOutput {
public:
    virtual ~MacroOutput() = default;
    virtual void SendByte(uint8_t c) = 0;
    // Every byte but LF as one held group; SendLine adds a CR.
    virtual void SendText(std::string_view text) = 0;
    virtual void SendLine(std::string_view text) = 0;
    // Waits ms keeping the program alive, ending early on user input. False when the reply
    // must stop: the program is closing or the connection it answers has ended.
    virtual bool PumpDelay(int ms) = 0;
    // A command of the main window, run after the line pipeline returns.
    virtual void PostCommand(int id) = 0;
    virtual void PlaySound(const std::string& path) = 0;
};

// Pauses 50 ms before each piece after a CR and 500 ms for each "$,"; false when a pause asked
// to stop (the rest is not sent).
bool SendMacroText(std::string_view text, MacroOutput& out);

// The reply of a rule that matched (its key notation expanded, captures put in), its command
// and its sound. Everything is taken from the record before the first pause, so the record may
// go away while the reply is paced.
void FireAutoMacro(const Record& record, const Captures& captures, MacroOutput& out);
