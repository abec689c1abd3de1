#pragma once
// "hosts.cfg", the file of the services' access numbers (the phone book), log-in prompts and
// navigation commands. Its layout: section "Host" lists the service names as a "Size" and keys
// "0", "1", ...; "<service>\PhoneBook" lists numbers the same way, each "area:number:speed" or
// "number:speed" (nationwide); "<service>\Login" holds "LoginString" and "PasswordString".
#include <string>

#include "auto/IniFile.h"

// The user's own copy, configHome()/quilite/hosts.cfg, when there is one; else the one in the
// installed data folder.
std::string HostsFilePath();

// Missing, it reads as empty: an empty phone book.
IniFile LoadHostsFile();
