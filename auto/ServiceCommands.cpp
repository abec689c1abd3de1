#include "auto/ServiceCommands.h"

#include "auto/RoomCommand.h"
#include "platform/TextCodec.h"

const std::vector<ServiceCommand>& ServiceCommands() {
    using C = ServiceCommand;
    static const std::vector<ServiceCommand> table = {
        {C::Move, "초기 메뉴", "초기 메뉴로 이동합니다.\n초기 메뉴"},
        {C::Move, "상위 메뉴", "상위 메뉴로 이동합니다.\n상위 메뉴"},
        {C::Move, "이전 페이지", "이전 페이지를 봅니다.\n이전 페이지"},
        {C::Move, "다음 페이지", "다음 페이지를 봅니다.\n다음 페이지"},
        {C::Move, "이전 게시판", "이전 게시판을 봅니다.\n이전 게시판"},
        {C::Move, "다음 게시판", "다음 게시판을 봅니다.\n다음 게시판"},
        {C::Move, "이전 메시지", "이전 메시지를 봅니다. (Ctrl+Alt+<-)\n이전 메시지"},
        {C::Move, "다음 메시지", "다음 메시지를 봅니다. (Ctrl+Alt+->)\n다음 메시지"},
        {C::Move, "목록 보기", "게시물 목록을 봅니다."},
        {C::Article, "게시물 연속 출력", "해당 메일이나 자료를 연속으로 읽습니다."},
        {C::Article, "게시물 삭제", "해당 메일이나 자료를 삭제합니다."},
        {C::Article, "게시물 받기", "해당 자료를 다운로드 합니다."},
        {C::Article, "재 전송", "해당 메일을 다른 아이디로 다시 전송합니다."},
        {C::Article, "답장", "해당 메일이나 자료에 대한 문의 및 답장 메일을 보냅니다."},
        {C::ReadItem, "", "해당 메일이나 자료를 읽습니다."},
    };
    return table;
}

std::string ServiceValue(const Record& serviceMap, const char* utf8Name) {
    auto found = serviceMap.find(utf8ToCp949(utf8Name).value_or(""));
    return found == serviceMap.end() ? std::string() : found->second;
}

std::optional<std::string> ServiceCommandLine(const ServiceCommand& command,
                                              const Record& serviceMap, const std::string& item,
                                              bool inChatRoom) {
    if (command.kind == ServiceCommand::ReadItem) {
        if (item.empty()) return std::nullopt;
        return item;
    }
    const std::string value = ServiceValue(serviceMap, command.value);
    if (value.empty()) return std::nullopt;
    if (command.kind == ServiceCommand::Move) return RoomCommand(value, inChatRoom);
    if (item.empty()) return std::nullopt;
    return value + " " + item;
}

const std::vector<ServiceCommandGroup>& ServiceCommandGroups() {
    static const std::vector<ServiceCommandGroup> groups = {
        {"이동",
         {"초기 메뉴", "상위 메뉴", "책갈피 이동", "이전 게시판", "다음 게시판", "이전 메시지",
          "다음 메시지", "이전 페이지", "다음 페이지", "목록 보기"}},
        {"검색", {"아이디 검색", "제목 검색", "주제어 검색", "이름 검색", "번호별 검색"}},
        {"게시물",
         {"게시물 작성", "게시물 받기", "게시물 연속 출력", "자료 올리기", "게시물 삭제", "답장",
          "재 전송"}},
        {"프롬프트", {"명령 프롬프트", "시작 프롬프트", "채팅 프롬프트", "시작 명령"}},
        {"인터넷", {"PPP 접속", "DNS 서버"}},
        {"대화실 사용자",
         {"사용자 초대", "사용자 무시", "귓속말 설정", "대화방 퇴실", "대화실 현황"}},
        {"메시지", {"프로필 확인", "접속 확인", "쪽지 보내기", "메모 보내기"}},
    };
    return groups;
}
