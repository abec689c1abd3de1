#pragma once
// File names crossing the wire. Bytes are kept as they are (Korean names arrive as CP949 or
// UTF-8 bytes); only path parts and control bytes are taken away.
#include <string>

// The name a received file is created under: the part after the last '/', '\\' or ':', without
// bytes 0x00-0x1F and 0x7F. Empty when nothing usable is left (also for "." and "..").
std::string gfReceivedFileName(const std::string& wireName);

// The name put on the wire for a local path: the part after the last '/'.
std::string gfSentFileName(const std::string& path);
