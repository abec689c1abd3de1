#pragma once
// reelpost's settings in the profile store, under HKEY_CURRENT_USER\Software\Vantra\reelpost in
// three sections. Texts are CP949 as stored; numbers are decimal text, missing ones 0.
#include <string>

#include "auto/Registry.h"

struct ReelpostSettings {
    std::string server;    // NETWORKINFO "SERVER": name or address, optionally ":PORT"
    int protocol = 0;      // NETWORKINFO "PROTOCOL": 1 = the desktop's mail program, else SMTP
    int withPlayer = 0;    // NETWORKINFO "WITHPLAYER": 1 = send a self-playing package
    std::string email;     // USERINFO "EMAIL": sender address and display name
    std::string signFile;  // USERINFO "SIGNFILE": signature text file, empty for none
    std::string appPath;   // APPINFO "PATH": the folder of "templete.dat"
};

// A missing "PATH" gives the installed data folder.
ReelpostSettings loadReelpostSettings(Registry& registry);
bool saveReelpostSettings(Registry& registry, const ReelpostSettings& settings);
