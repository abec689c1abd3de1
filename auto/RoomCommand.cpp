#include "auto/RoomCommand.h"

std::string RoomCommand(const std::string& value, bool inChatRoom) {
    if (!inChatRoom || value.starts_with('/')) return value;
    return "/" + value;
}
