#include "auto/RecordKinds.h"

#include <sstream>

#include "auto/ServiceCommands.h"
#include "platform/TextCodec.h"

namespace {

std::vector<std::string> split(const std::string& utf8List) {
    std::vector<std::string> names;
    std::istringstream in(utf8ToCp949(utf8List).value());
    for (std::string name; std::getline(in, name, ',');)
        names.push_back(name);
    return names;
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The command names a service record holds, in its seven groups.
std::vector<std::string> serviceCommandNames() {
    std::vector<std::string> names;
    for (const ServiceCommandGroup& group : ServiceCommandGroups())
        for (const char* name : group.names)
            names.push_back(utf8ToCp949(name).value());
    return names;
}

std::vector<RecordKindInfo> buildTable() {
    const auto icon = split("IconFile,IconIndex,WallPaper,ReadOnly");
    const auto file = split("FilePath,FileSize,MTime,Description");
    const auto modem = join(icon, split("Type,Host,Phone,Dialer"));
    using namespace RecordKind;
    return {
        {Service, "Hosts", "", icon, true, false},
        {ModemEntry, "Entry\\Modem", "", modem, true, false},
        {TelnetEntry, "Entry\\Telnet", "", join(icon, split("Type,Host,Server,Port")), true, false},
        {WebEntry, "Entry\\Web", "", {}, true, false},
        {Screen, "Screen", "",
         split("WinFont,HanFont16,WallPaper,FontSize,Rows,SysColor,VariableRows,FontLeading,"
               "BoldFont,BkColor,TextColor,DesktopBkGnd"),
         false, false},
        {ModemEntryPhone, "Entry\\Modem", "", modem, true, false},
        {Bookmark, "Hosts", "Bookmark", join(icon, split("Type,Location,VTime,InfoCode")), true,
         false},
        {ReceivedFile, "FileManager\\InBox", "", join(file, split("RSize,RTime")), false, false},
        {SentFile, "FileManager\\OutBox", "", join(file, split("SSize,STime")), false, false},
        {CaptureFile, "FileManager\\CapBox", "", file, false, false},
        {ServiceValues, "Hosts", "", {}, false, true},
        {AutoMacro, "Hosts", "AutoMacro", split("Pattern,SendString,PlaySound,Cmd,Off"), true,
         false},
        {RecordKind::ServiceCommands, "Hosts", "", serviceCommandNames(), false, false},
        {ChatWindow, "Chat", "", split("BkColor,TextColor,UseCaption,Rows"), false, false},
        {IdNotebook, "Hosts", "IDPAD", join(icon, split("Name,Description")), true, false},
        {IdList, "Hosts", "ID", split("Name,Password"), true, false},
    };
}

}  // namespace

const RecordKindInfo* recordKindInfo(int kind) {
    static const std::vector<RecordKindInfo> table = buildTable();
    for (const RecordKindInfo& info : table)
        if (info.kind == kind) return &info;
    return nullptr;
}
