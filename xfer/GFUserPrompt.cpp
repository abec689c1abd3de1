#include "xfer/GFUserPrompt.h"

const char* const GF_DISK_SPACE_CAPTION = "파일 받기";

std::string GFOpenFailureText(const std::string& path, bool forWriting) {
    return forWriting ? path + " 파일을 만들 수 없습니다." : path + " 파일을 열 수 없습니다.";
}

std::string GFGroupedNumber(uint64_t n) {
    std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string GFDiskSpaceText(const std::string& folder, uint64_t freeBytes) {
    return "현재 " + folder +
           " 드라이브에 사용할 수 있는 디스크 공간이 부족하여\n파일 받기를 계속 할 수 "
           "없습니다. (" +
           GFGroupedNumber(freeBytes) +
           " 바이트 사용 가능)\n휴지통을 비우거나 임시 파일들을 삭제하십시오.\n\n파일 받기를 "
           "취소하시겠습니까?";
}
