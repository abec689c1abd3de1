#pragma once
// A service command typed in a chat room must begin with "/", or the room takes it for chat.
#include <string>

// `value` as it is outside a room, or when it already begins with "/"; else "/" + value.
std::string RoomCommand(const std::string& value, bool inChatRoom);
