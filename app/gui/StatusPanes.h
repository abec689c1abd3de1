#pragma once
// The panes of the main window's status bar, after the message area: "갈무리" while a capture
// runs (pane 1), the link's port and speed in modem mode (pane 2), the screen size (3), the time
// online (4), the receive and send lamps (6) and the input method's Hangul state (7), each with its
// tool tip.
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "link/ModemTable.h"
#include "platform/Clock.h"

// Pane 2's text for a modem or port (UTF-8 name as the session gives it): the port's short name
// and its speed, "COM1-115200" or "ttyUSB0-9600"; "" when there is no device.
std::string linkStateText(const ModemTable& modems, const std::string& device);

class LampPane;

class StatusPanes {
public:
    // Lamps go out this long after the last traffic.
    static constexpr int kLampMs = 200;

    StatusPanes(QStatusBar& bar, Clock& clock = Clock::steady());

    // Mode 1 (modem) shows pane 2 with `portText` and names the device in its tool tip; other
    // modes collapse it.
    void SetLinkMode(int mode, const std::string& portText, const std::string& device);
    void SetScreenSize(int columns, int rows);
    // Pane 1 shows "갈무리" while a capture records or pauses and is hidden otherwise.
    void SetCapture(bool running);
    // Online starts the clock from "00:00:00"; offline shows "OFFLINE".
    void SetOnline(bool online);
    // Brings the clock and its tool tip up to date (every second while online).
    void ShowConnectTime();
    void LinkActivity(bool received, bool sent);
    // Nothing when the state is not known.
    void SetInputState(std::optional<bool> hangul);

    // A double click on the screen size pane.
    std::function<void()> screenSettingsWanted;

    QLabel& CapturePane() { return *capture_; }
    QLabel& LinkPane() { return *link_; }
    QLabel& ScreenPane() { return *screen_; }
    QLabel& TimePane() { return *time_; }
    QLabel& InputPane() { return *input_; }
    const QWidget& Lamps() const;
    bool ReceiveLit() const;
    bool SendLit() const;

private:
    QLabel* addPane(QStatusBar& bar, const QString& sample, const QString& tip);

    Clock& clock_;
    QLabel* capture_;
    QLabel* link_;
    QLabel* screen_;
    QLabel* time_;
    LampPane* lamps_;
    QLabel* input_;
    QTimer tick_;
    int64_t connectedAt_ = 0;
};
