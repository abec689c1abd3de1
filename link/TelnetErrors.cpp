#include "link/TelnetErrors.h"

#include <errno.h>

#include <map>

namespace {

const std::map<int, int>& winsockNumbers() {
    static const std::map<int, int> numbers{
        {EFAULT, 10014},          {EINVAL, 10022},       {EMFILE, 10024},
        {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},  {EALREADY, 10037},
        {ENOTSOCK, 10038},        {EDESTADDRREQ, 10039}, {EPROTONOSUPPORT, 10043},
        {ESOCKTNOSUPPORT, 10044}, {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048},
        {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},     {ENETUNREACH, 10051},
        {ENETRESET, 10052},       {ECONNABORTED, 10053}, {ECONNRESET, 10054},
        {EPIPE, 10054},           {ENOBUFS, 10055},      {EISCONN, 10056},
        {ENOTCONN, 10057},        {ESHUTDOWN, 10058},    {ETIMEDOUT, 10060},
        {ECONNREFUSED, 10061},    {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},
    };
    return numbers;
}

const std::map<int, const char*>& explanations() {
    static const std::map<int, const char*> texts{
        {10014, ": lpSockAddrLen 인수가 잘 못 되었습니다."},
        {10022, ": 이미 bind된 소켓입니다."},
        {10024, ": 소켓을 더 열 수 없습니다."},
        {10036, ": Blocking 소켓 연산이 진행중입니다."},
        {10038, ": 지정된 디스크립터는 소켓이 아닙니다."},
        {10039, ": 대상 주소가 필요합니다."},
        {10043, ": 지원하지 않는 포트입니다."},
        {10044, ": 현재 Address Family에서 지원되지 않는 소켓입니다."},
        {10047, ": 지원되지 않는 Address Family입니다. TCP/IP가 설치되지 않았습니다."},
        {10048, ": 지정된 주소를 현재 사용중입니다."},
        {10049, ": 이 기계에서는 사용 불가능한 주소입니다."},
        {10050, ": 네트워크 시스템이 다운되었습니다."},
        {10051, ": 현 네트워크에서 도달할 수 없는 호스트입니다"},
        {10053, ": 연결유지 시간 초과"},
        {10054, ": 상대편의 연결 재설정 요청"},
        {10055, ": 소켓버퍼를 할당할 수 없습니다."},
        {10056, ": 이미 연결되었습니다."},
        {10057, ": 소켓이 연결되지 않았습니다."},
        {10060, ": 연결시도 시간 초과"},
        {10061, ": 상대편의 연결 거부"},
        {10093, ": 소켓이 초기화되지 않았습니다."},
    };
    return texts;
}

}  // namespace

int winsockNumber(int error) {
    const auto it = winsockNumbers().find(error);
    return it == winsockNumbers().end() ? error : it->second;
}

std::string networkErrorText(int number) {
    std::string text = "네트워크 오류 #" + std::to_string(number);
    const auto it = explanations().find(number);
    if (it != explanations().end()) text += it->second;
    return text;
}
