#pragma once
// File names between the host and our file system: hosts name files in CP949, our folders hold
// UTF-8 names.
#include <string>

// A host's bare name as a UTF-8 file name: each CP949 character converted, a byte that does
// not convert replaced by "_", control bytes dropped and "/" replaced; empty when nothing usable
// is left (also for "." and "..").
std::string localFileName(const std::string& hostName);
// The name to announce for a local path: its last part in CP949 when CP949 holds it, else as is.
std::string hostFileName(const std::string& path);
