#include "link/SessionChat.h"

#include "auto/ServiceCommands.h"
#include "link/CQuillonDoc.h"

void SessionChat::SendByte(uint8_t c) {
    doc_.SendByte(c);
}

void SessionChat::SendText(std::string_view text) {
    doc_.SendText(text);
}

void SessionChat::SendLine(std::string_view text) {
    doc_.SendLine(text);
}

bool SessionChat::Connected() const {
    return doc_.Online();
}

bool SessionChat::InChatRoom() const {
    return doc_.InChatRoom();
}

void SessionChat::SetInChatRoom(bool inRoom) {
    doc_.SetInChatRoom(inRoom);
}

std::string SessionChat::OwnId() const {
    return doc_.Login().OwnId();
}

const std::string& SessionChat::CurrentService() const {
    return doc_.CurrentService();
}

std::string SessionChat::ServiceValue(const char* utf8Name) const {
    return ::ServiceValue(doc_.ServiceMap(), utf8Name);
}

void SessionChat::RedrawView() {
    view_.RedrawAll();
}
