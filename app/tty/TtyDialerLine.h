#pragma once
// The dialler on the tty's status line: the entry, the number being dialled or to be dialled,
// the seconds of the try, and its keys: Enter starts or stops, "n" dials the next number, Esc
// closes the dialler.
#include <functional>

#include "app/tty/TtyPanel.h"
#include "link/DialerView.h"
#include "link/ModemDialer.h"

class TtyDialerLine : public DialerView, public TtyPanel {
public:
    // show: puts the panel on the status line, or draws it again (null takes it off).
    explicit TtyDialerLine(std::function<void(TtyPanel*)> show) : show_(std::move(show)) {}

    void ShowDialer(ModemDialer& dialer) override;
    void UpdateDialer() override { show_(this); }
    void HideDialer() override;

    std::string StatusText(int width) const override;
    bool OnKey(const TtyKey& key) override;

private:
    std::function<void(TtyPanel*)> show_;
    ModemDialer* dialer_ = nullptr;
};
