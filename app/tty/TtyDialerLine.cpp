#include "app/tty/TtyDialerLine.h"

#include <algorithm>

#include "app/tty/TtyScreen.h"
#include "platform/TextCodec.h"

namespace {

// The dialling animation, one cell a step.
constexpr const char* kAnimation[ModemDialer::kAnimationSteps] = {".", "o", "O", "0", "O", "o"};

// A stored number as the status line can show it: a control byte would act on the terminal.
std::string shown(const std::string& cp949) {
    std::string text = cp949ToUtf8Lossy(cp949);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return text;
}

}  // namespace

void TtyDialerLine::ShowDialer(ModemDialer& dialer) {
    dialer_ = &dialer;
    show_(this);
}

void TtyDialerLine::HideDialer() {
    dialer_ = nullptr;
    show_(nullptr);
}

// " 전화걸기 [entry]", then while dialling the command and the seconds of the try, while idle
// the selected number and where it is dialled from, then the keys. The caption gives way when
// the line is short.
std::string TtyDialerLine::StatusText(int width) const {
    if (!dialer_) return FitToWidth("", width);
    std::string state;
    if (dialer_->Dialling()) {
        state = std::string(kAnimation[dialer_->AnimationStep()]) + " " + dialer_->DialString() +
                " " + dialer_->CounterText();
    } else if (const int row = dialer_->SelectedRow(); row >= 0) {
        const DialRow& selected = dialer_->Rows()[row];
        state = std::to_string(row + 1) + "/" + std::to_string(dialer_->Rows().size()) + " " +
                shown(selected.record.number) + " " + selected.region + " (" +
                dialer_->LocationName() + ")";
    }
    const std::string keys = "  Enter " + WithoutMnemonic(dialer_->StartButtonText()) +
                             (dialer_->Dialling() ? "  n 다음 번호" : "") + "  Esc 취소 ";
    const int captionWidth = width - DisplayWidth(state) - DisplayWidth(keys);
    return FitToWidth(" " + dialer_->Caption() + " ", std::max(captionWidth, 0)) +
           FitToWidth(state + keys, width - std::max(captionWidth, 0));
}

bool TtyDialerLine::OnKey(const TtyKey& key) {
    if (!dialer_) return false;
    if (key.kind == TtyKey::Kind::Escape) {
        dialer_->Close();
    } else if (key.kind == TtyKey::Kind::Text && key.text == "\r") {
        dialer_->StartOrStop();
    } else if (key.kind == TtyKey::Kind::Text &&
               (key.text == "n" || key.text == "N" || key.text == "ㅜ")) {
        dialer_->NextNumber();
    } else {
        return false;
    }
    return true;
}
