#include "link/SessionChat.h"

#include "link/CQuillonDoc.h"
#include "platform/TextCodec.h"

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
    const Record& values = doc_.ServiceMap();
    auto found = values.find(utf8ToCp949(utf8Name).value_or(""));
    return found == values.end() ? std::string() : found->second;
}

void SessionChat::RedrawView() {
    view_.RedrawAll();
}
