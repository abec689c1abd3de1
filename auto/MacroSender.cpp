#include "auto/MacroSender.h"

#include "auto/KeyNotation.h"
#include "platform/StoredValues.h"

namespace {

constexpr int kLinePauseMs = 50;
constexpr int kDollarCommaPauseMs = 500;

std::string field(const Record& record, const std::string& name) {
    auto found = record.find(name);
    return found == record.end() ? std::string() : found->second;
}

// A piece holding "$," goes byte by byte, each "$," becoming a half-second pause.
bool sendPiece(std::string_view piece, MacroOutput& out) {
    if (piece.find("$,") == std::string_view::npos) {
        out.SendText(piece);
        return true;
    }
    for (size_t i = 0; i < piece.size(); ++i) {
        if (piece[i] == '$' && i + 1 < piece.size() && piece[i + 1] == ',') {
            if (!out.PumpDelay(kDollarCommaPauseMs)) return false;
            ++i;
        } else {
            out.SendByte(static_cast<uint8_t>(piece[i]));
        }
    }
    return true;
}

}  // namespace

bool SendMacroText(std::string_view text, MacroOutput& out) {
    for (size_t start = 0;;) {
        const size_t cr = text.find('\r', start);
        const std::string_view piece =
            text.substr(start, cr == std::string_view::npos ? std::string_view::npos : cr - start);
        if (start > 0 && !out.PumpDelay(kLinePauseMs)) return false;
        if (!sendPiece(piece, out)) return false;
        if (cr == std::string_view::npos) return true;
        out.SendLine("");
        start = cr + 1;
    }
}

void FireAutoMacro(const Record& record, const Captures& captures, MacroOutput& out) {
    const std::string reply =
        ReplaceCaptures(ExpandKeyNotation(field(record, "SendString")), captures);
    const std::string cmd = field(record, "Cmd");
    const int command = cmd.empty() ? 0 : parseDecimal(cmd);
    const std::string sound = field(record, "PlaySound");
    if (!reply.empty() && !SendMacroText(reply, out)) return;
    if (command != 0) out.PostCommand(command);
    if (!sound.empty()) out.PlaySound(sound);
}
