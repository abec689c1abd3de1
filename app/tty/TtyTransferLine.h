#pragma once
// A running transfer on the tty's status line: direction, protocol, file, progress, rate and
// times, and its keys: Esc aborts, "h" toggles hanging up when it is done.
#include <functional>
#include <optional>

#include "app/tty/TtyPanel.h"
#include "app/tty/TtyPrompt.h"
#include "link/TransferBridge.h"
#include "link/TransferView.h"

class TtyTransferLine : public TransferView, public TtyPanel {
public:
    // show: puts the panel on the status line, or draws it again (null takes it off).
    TtyTransferLine(TransferBridge& bridge, std::function<void(TtyPanel*)> show)
        : bridge_(bridge), show_(std::move(show)) {}

    void OpenProgress(bool sending) override;
    void ShowProgress(const TransferFigures& figures) override;
    void CloseProgress() override;

    std::string StatusText(int width) const override;
    bool OnKey(const TtyKey& key) override;

private:
    TransferBridge& bridge_;
    std::function<void(TtyPanel*)> show_;
    bool sending_ = false;
    bool open_ = false;
    std::optional<TransferFigures> figures_;
};

// The receive protocol, asked as a numbered question on the status line; nothing on Esc.
std::optional<std::string> askReceiveProtocol(TtyPrompt& prompt);
