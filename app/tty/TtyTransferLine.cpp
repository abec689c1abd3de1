#include "app/tty/TtyTransferLine.h"

#include <algorithm>

#include "app/tty/TtyScreen.h"

namespace {

// A file name as the status line can show it: a control byte would act on the terminal.
std::string shown(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return text;
}

}  // namespace

void TtyTransferLine::OpenProgress(bool sending) {
    sending_ = sending;
    open_ = true;
    figures_.reset();
    show_(this);
}

void TtyTransferLine::ShowProgress(const TransferFigures& figures) {
    figures_ = figures;
    show_(this);
}

void TtyTransferLine::CloseProgress() {
    open_ = false;
    figures_.reset();
    show_(nullptr);
}

// " 파일받기 ZMODEM 자료.zip 37% 1234/3333 5000 cps 00:00:10/00:00:30", then the keys.
std::string TtyTransferLine::StatusText(int width) const {
    std::string text = sending_ ? " 파일보내기" : " 파일받기";
    if (figures_) {
        const TransferFigures& f = *figures_;
        text += " " + f.now.protocol + " " + shown(fileNameOf(f.now.fileName)) + " " +
                std::to_string(f.percent) + "% " + std::to_string(f.now.position) + "/" +
                std::to_string(f.now.length) + " " + std::to_string(f.averageCps) + " cps " +
                clockText(f.elapsedSeconds) + "/" + clockText(f.totalSeconds);
    }
    const std::string keys =
        std::string("  Esc 중지  h 끝나면 끊기:") + (bridge_.HangUpAfter() ? "예" : "아니오") + " ";
    const int textWidth = std::max(0, width - DisplayWidth(keys));
    return FitToWidth(text, textWidth) + FitToWidth(keys, width - textWidth);
}

bool TtyTransferLine::OnKey(const TtyKey& key) {
    if (!open_) return false;
    if (key.kind == TtyKey::Kind::Escape) {
        bridge_.Abort();
        return true;
    }
    if (key.kind == TtyKey::Kind::Text &&
        (key.text == "h" || key.text == "H" || key.text == "ㅗ")) {
        bridge_.SetHangUpAfter(!bridge_.HangUpAfter());
        show_(this);
        return true;
    }
    return false;
}

std::optional<std::string> askReceiveProtocol(TtyPrompt& prompt) {
    const std::vector<std::string>& protocols = transferProtocols();
    const std::optional<int> chosen = prompt.AskChoice("받을 프로토콜:", protocols, 2);  // ZMODEM
    if (!chosen) return std::nullopt;
    return protocols[*chosen];
}
