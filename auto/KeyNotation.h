#pragma once
// The key notation of texts the program sends for the user (replies, macros, log-in strings):
// "<Enter>", "<Esc>", "<Tab>", "<Ctrl-A>".."<Ctrl-Z>" and "<<" for a '<'. CP949 text.
#include <string>
#include <string_view>

#include "auto/AutoMacroPattern.h"

// Key names replaced by their control bytes. A '<' that starts no name is dropped and the
// character after it kept; a malformed "<Ctrl-" group vanishes with the two characters after it.
std::string ExpandKeyNotation(std::string_view text);

// Every occurrence of `from`, left to right, without rescanning what was inserted; an empty
// `from` leaves the text as it is.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Every "%0".."%9" that names a capture replaced by its text in one pass, so that a captured
// "%2" is sent as it is.
std::string ReplaceCaptures(std::string_view text, const Captures& captures);
