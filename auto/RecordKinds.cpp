#include "auto/RecordKinds.h"

#include <sstream>

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

// The command names a service record holds, in seven groups.
std::vector<std::string> serviceCommandNames() {
    std::vector<std::string> names;
    for (const char* group :
         {"게시물 작성,게시물 받기,게시물 연속 출력,자료 올리기,게시물 삭제,답장,재 전송",
          "아이디 검색,제목 검색,주제어 검색,이름 검색,번호별 검색", "PPP 접속,DNS 서버",
          "초기 메뉴,상위 메뉴,책갈피 이동,이전 게시판,다음 게시판,이전 메시지,다음 메시지,"
          "이전 페이지,다음 페이지,목록 보기",
          "명령 프롬프트,시작 프롬프트,채팅 프롬프트,시작 명령",
          "프로필 확인,접속 확인,쪽지 보내기,메모 보내기",
          "사용자 초대,사용자 무시,귓속말 설정,대화방 퇴실,대화실 현황"})
        names = join(names, split(group));
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
        {ServiceCommands, "Hosts", "", serviceCommandNames(), false, false},
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
