#pragma once
// File names crossing the wire. Bytes are kept as they are (Korean names arrive as CP949 or
// UTF-8 bytes); only path parts and control bytes are taken away.
#include <string>

// What a sender announces about a file: the name up to the first 0 byte, then words of text
// (length in decimal, modification time in octal, mode, serial, files left, bytes left).
struct GFWireFileInfo {
    bool terminated = false;  // a 0 byte ended the name inside the data
    std::string name;
    bool wordsEnded = false;   // a 0 byte ended the words too (else they may be cut short)
    unsigned long length = 0;  // 0 when missing or not positive
    long modified = -1;        // seconds since 1970-01-01 UTC, or -1 when missing
    int filesLeft = 0;
    long bytesLeft = 0;
};

// Reads a ZMODEM ZFILE subpacket or a YMODEM header block of size bytes; nothing is read
// beyond them.
GFWireFileInfo gfParseFileInfo(const unsigned char* data, int size);

// The name a received file is created under: the part after the last '/', '\\' or ':', without
// bytes 0x00-0x1F and 0x7F. Empty when nothing usable is left (also for "." and "..").
std::string gfReceivedFileName(const std::string& wireName);

// The name put on the wire for a local path: the part after the last '/'.
std::string gfSentFileName(const std::string& path);
