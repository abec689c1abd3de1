#pragma once
// The network errors the user is told about: errno values turned into the Winsock numbers
// that the messages have always shown, and the texts of the error box.
#include <string>

constexpr int kWsaConnAborted = 10053;
constexpr int kWsaConnReset = 10054;
constexpr int kWsaTimedOut = 10060;
constexpr int kWsaConnRefused = 10061;

// The Winsock number for an errno; an errno without one is returned as it is.
int winsockNumber(int error);

// "네트워크 오류 #%d" followed by the explanation of the number, where it has one (UTF-8).
std::string networkErrorText(int number);
