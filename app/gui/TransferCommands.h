#pragma once
// The window's send and receive commands: the send dialog (through the session's prompt) and a
// choice of the receive protocol, enabled while the link is open and no transfer runs.
#include <optional>
#include <string>

#include "link/TransferBridge.h"

class CMainFrame;
class QWidget;

void registerTransferCommands(CMainFrame& frame, TransferBridge& transfers);
// "XMODEM", ... or nothing when the user cancelled.
std::optional<std::string> askReceiveProtocol(QWidget* parent);
