#pragma once
// Kermit's printable encodings: the character conversions, the block checks, and the
// prefixing that carries any byte inside packet data (control, eighth-bit and repeat prefixes).
#include <cstdint>
#include <ctime>
#include <string>

namespace gfkermit {

inline int toChar(int x) {
    return x + 32;
}
inline int unChar(int c) {
    return c - 32;
}
inline int ctl(int c) {
    return c ^ 64;
}

// The block check of the given type over bytes (LEN, SEQ, TYPE and DATA of a packet): type 1
// is the 6-bit sum, type 3 the 16-bit CRC (CCITT polynomial, reflected, starting at 0).
int blockCheck(int type, const uint8_t* bytes, int n);

// How many characters a check of the type takes in a packet: 1 for type 1, 3 for type 3.
inline int checkLength(int type) {
    return type == 3 ? 3 : 1;
}

// A check value as its printable characters (type 3: 4, 6 and 6 bits, high bits first), and
// the value read back from received characters (a packet is good when its characters are
// exactly those of the computed check).
std::string checkChars(int type, int value);
int readCheck(int type, const uint8_t* chars);

// True for a character the protocol allows as an eighth-bit or repeat prefix.
bool isPrefixChar(int c);

// The prefixes in force for data going one way; 0 turns a prefix off.
struct Prefixes {
    int ctl = '#';
    int bin = 0;
    int rpt = 0;
};

// The longest a run may be written as one repeat count.
constexpr int kMaxRepeat = 94;

// Encodes bytes into packet data: as many whole encoded bytes and runs as fit in capacity.
// Returns how many input bytes were taken; out receives the encoded data.
int encode(const Prefixes& p, const uint8_t* in, int n, int capacity, std::string& out);

// Decodes packet data and appends the bytes to out. A prefix cut off at the end is dropped.
void decode(const Prefixes& p, const uint8_t* data, int n, std::string& out);

// Reads the creation-date attribute: "yyyymmdd hh:mm:ss", or "yymmdd" (years below 50 are
// 20yy), with the seconds or the whole time left out. False when it is not such a date.
bool parseDate(const std::string& text, std::tm& out);

}  // namespace gfkermit
