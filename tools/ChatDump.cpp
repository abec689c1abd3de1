#include "tools/ChatDump.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "auto/CRecordStore.h"
#include "auto/DoubleByteText.h"
#include "auto/RegImport.h"
#include "auto/ServiceCommands.h"
#include "platform/DataFolder.h"
#include "platform/TextCodec.h"
#include "tools/JsonEscape.h"

namespace {

std::string jsonText(std::string_view cp949) {
    return "\"" + jsonEscape(cp949ToUtf8Lossy(cp949)) + "\"";
}

// The profile at `path`, or the shipped default profile in a store of its own in `scratch`.
std::unique_ptr<Registry> openProfile(const std::string& path, const std::string& scratch,
                                      std::string& error) {
    Registry::Opened opened = Registry::open(path.empty() ? scratch + "/profile.db" : path);
    if (!opened.registry) {
        error = opened.error;
        return nullptr;
    }
    if (path.empty()) {
        const std::string file = dataFolder() + "/regorg.bak";
        std::stringstream text;
        text << std::ifstream(file, std::ios::binary).rdbuf();
        if (!importRegText(*opened.registry, text.str()).ok()) {
            error = "cannot read the default profile " + file;
            return nullptr;
        }
    }
    return std::move(opened.registry);
}

}  // namespace

std::unique_ptr<ChatDump> ChatDump::Open(VtDump& dump, const ChatDumpOptions& options,
                                         std::string& error) {
    char pattern[] = "/tmp/quilite-vtdump-XXXXXX";
    const std::string scratch = options.dbPath.empty() && mkdtemp(pattern) ? pattern : "";
    std::unique_ptr<Registry> registry = openProfile(options.dbPath, scratch, error);
    if (!registry) {
        if (!scratch.empty()) std::filesystem::remove_all(scratch);
        return nullptr;
    }
    Record values;
    CRecordStore store(*registry);
    const std::string name = utf8ToCp949(options.service).value_or(options.service);
    if (store.SelectKind(RecordKind::ServiceValues)) {
        if (std::optional<RegKey> key = store.FindRecord(name)) store.ReadRecord(*key, values);
    }
    auto chat = std::unique_ptr<ChatDump>(
        new ChatDump(dump, options, std::move(registry), std::move(values)));
    chat->scratch_ = scratch;
    return chat;
}

ChatDump::ChatDump(VtDump& dump, const ChatDumpOptions& options, std::unique_ptr<Registry> registry,
                   Record values)
    : dump_(dump),
      registry_(std::move(registry)),
      values_(std::move(values)),
      service_(utf8ToCp949(options.service).value_or(options.service)),
      ownId_(options.ownId),
      colours_(options.colours),
      chat_(*this, *registry_, sound_) {
    chat_.SetService(service_);
    dump_.LineView().lineReady = [this](bool partial) { lineReady(partial); };
}

// The scratch store is removed while still open; its files go with the last handle.
ChatDump::~ChatDump() {
    if (!scratch_.empty()) std::filesystem::remove_all(scratch_);
}

// As the session's line entry: the colour of a complete line first, then the recognition of
// the service's lines.
void ChatDump::lineReady(bool partial) {
    TWView& view = dump_.LineView();
    const std::string line(view.PendingLine());
    if (!partial) {
        const int colour = chat_.LineColour(line);
        if (colour != -1) view.RecolourPendingLine(colour);
        lines_.emplace_back(line, colour);
        applyColours();
    }
    if (line.size() >= 3 && HasWholePairs(line)) chat_.RecogniseServiceLine(line, partial);
}

void ChatDump::applyColours() {
    ChatRoomState& room = chat_.Room();
    for (const auto& [id, colour] : colours_) {
        const std::optional<size_t> index = room.IndexOf(id, "");
        if (index && room.ColourOf(*index) != colour) room.SetColour(*index, colour);
    }
}

void ChatDump::SendByte(uint8_t c) {
    dump_.Link().WriteByte(c);
}

void ChatDump::SendText(std::string_view text) {
    dump_.Link().Write(text.data(), static_cast<int>(text.size()));
}

void ChatDump::SendLine(std::string_view text) {
    SendText(text);
    SendByte('\r');
}

std::string ChatDump::ServiceValue(const char* utf8Name) const {
    return ::ServiceValue(values_, utf8Name);
}

std::string ChatDump::Json() const {
    const ChatAssistant& chat = chat_;
    const ChatRoomState& room = chat.Room();
    std::string out = "{\"service\":" + jsonText(service_);
    out += std::string(",\"room\":") + (inRoom_ ? "true" : "false");
    out += ",\"title\":" + jsonText(room.RoomTitle()) + ",\"participants\":[";
    for (size_t i = 0; i < room.Participants().size(); ++i) {
        const ChatParticipant& p = room.Participants()[i];
        out += (i ? ",[" : "[") + jsonText(p.id) + "," + jsonText(p.name) + "," +
               std::to_string(p.colour) + "]";
    }
    out += "],\"presence\":{";
    bool first = true;
    for (const auto& [id, mark] : chat.Presence()) {
        out += (first ? "" : ",") + jsonText(id) + ":" + jsonText(mark);
        first = false;
    }
    out += "},\"memos\":[";
    for (size_t i = 0; i < chat.MemoLog().size(); ++i)
        out += (i ? "," : "") + jsonText(chat.MemoLog()[i]);
    out += "],\"lines\":[";
    for (size_t i = 0; i < lines_.size(); ++i)
        out += std::string(i ? "," : "") + "{\"text\":" + jsonText(lines_[i].first) +
               ",\"colour\":" + std::to_string(lines_[i].second) + "}";
    return out + "]}";
}
