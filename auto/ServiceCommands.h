#pragma once
// The service commands the menus and tool bars send: each sends the current service's value of
// the same name (moves, articles), or the selected item itself. Names and texts are UTF-8; the
// values and the item are CP949.
#include <optional>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"

struct ServiceCommand {
    enum Kind {
        Move,      // the value, "/" first in a chat room
        Article,   // "value item"
        ReadItem,  // the item alone
    };
    Kind kind;
    const char* value;   // the service value's name; "" for ReadItem
    const char* prompt;  // status text, then after "\n" the tool tip when there is one
};

// The fifteen commands in menu order: nine moves, five article commands, reading the item.
const std::vector<ServiceCommand>& ServiceCommands();

// The line the command sends now, or nothing when it is unavailable: an empty value, or an
// article command without a selected item.
std::optional<std::string> ServiceCommandLine(const ServiceCommand& command,
                                              const Record& serviceMap, const std::string& item,
                                              bool inChatRoom);

// The service's value of a command name (UTF-8), "" when missing.
std::string ServiceValue(const Record& serviceMap, const char* utf8Name);

// The seven groups of command values a service record holds, each a caption and its value
// names (UTF-8), as the service-record editor shows them.
struct ServiceCommandGroup {
    const char* caption;
    std::vector<const char*> names;
};
const std::vector<ServiceCommandGroup>& ServiceCommandGroups();
