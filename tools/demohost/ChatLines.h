#pragma once
// The lines of the chat room, in the shapes the played service prints them (CP949 in and out),
// and the cleaning of what users type before it is relayed to others.
#include <string>
#include <string_view>

namespace chat {

// "## 이름(id) 님이 입장하였습니다. ##" and "... 퇴장하였습니다. ##".
std::string EnterLine(std::string_view name, std::string_view id);
std::string LeaveLine(std::string_view name, std::string_view id);
// "이름(id padded to 8)  text".
std::string SpeakerLine(std::string_view name, std::string_view id, std::string_view text);
// "## id 님과 귀엣말이 설정되었습니다. ##" and "## id 님과의 귀엣말이 해제 되었습니다. ##".
std::string WhisperSetLine(std::string_view id);
std::string WhisperClearedLine(std::string_view id);
// "## (From:id) 'text'##".
std::string MemoLine(std::string_view from, std::string_view text);
// The answers to "/f id": in the chat room since `since` ("12/08 09:30"), or not on line.
std::string OnlineLine(std::string_view id, std::string_view name, std::string_view since);
std::string OfflineLine(std::string_view id);
// What the host shows when the user leaves the room.
std::string LeavePrompt();

// An ID as typed: its ASCII letters and digits in lower case, at most 8.
std::string TypedId(std::string_view typed);

// Typed text as it may be relayed: printable ASCII and whole CP949 characters only (no control
// bytes, no ESC, no CAN), at most 200 bytes.
std::string Relayable(std::string_view typed);
constexpr size_t kMaxRelayed = 200;

}  // namespace chat
