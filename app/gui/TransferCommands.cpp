#include "app/gui/TransferCommands.h"

#include <QInputDialog>

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"

std::optional<std::string> askReceiveProtocol(QWidget* parent) {
    QStringList items;
    for (const std::string& protocol : transferProtocols())
        items << QString::fromStdString(protocol);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, "파일 받기", "프로토콜(&P):", items,
                                                 items.indexOf("ZMODEM"), false, &ok);
    if (!ok) return std::nullopt;
    return chosen.toStdString();
}

void registerTransferCommands(CMainFrame& frame, TransferBridge& transfers) {
    auto canStart = [&frame, &transfers] {
        return frame.Doc() && frame.Doc()->LinkOpen() && !frame.Doc()->TransferActive() &&
               !transfers.Running();
    };
    frame.SetCommand(
        Cmd::SendFile,
        {[&transfers] { transfers.StartTransfer("ZMODEM", true, false); }, nullptr, canStart});
    frame.SetCommand(Cmd::ReceiveFile, {[&frame, &transfers] {
                                            if (auto protocol = askReceiveProtocol(&frame))
                                                transfers.StartTransfer(*protocol, false, false);
                                        },
                                        nullptr, canStart});
}
