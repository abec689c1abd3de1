// hosts.cfg as the phone-book picker reads it: the file's rules, the services listed under
// "Host" and each one's numbers sorted into the picker's groups.
#include <string_view>

#include "auto/IniFile.h"
#include "link/PhoneBook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IniFile hosts = IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::string& service : hosts.List("Host")) {
        PhoneBookGroups(hosts, service);
        hosts.Value(service + "\\Login", "LoginString");
    }
    return 0;
}
