#pragma once
// The settings of the internet connection: whether to ask before connecting (`Comm` "QPPP"),
// whether the service's set-up program is still to be offered (`Comm` "NetquayInternet"), and
// the desktop's dial-up settings kept where the system keeps them: "EnableAutodial" (connect
// to the internet by modem) and "InternetProfile" (the connection to use).
#include <string>

#include "auto/Registry.h"

struct InternetSettings {
    bool askFirst = true;      // "QPPP"
    bool offerNetquay = true;  // "NetquayInternet"
    bool autodial = false;     // "EnableAutodial"
    std::string profile;       // "InternetProfile"
};

InternetSettings LoadInternetSettings(Registry& registry);
bool StoreInternetSettings(Registry& registry, const InternetSettings& settings);
