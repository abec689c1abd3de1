#pragma once
// The Hangul switch of fcitx5 through its D-Bus controller (org.fcitx.Fcitx5 /controller): an
// active input method is Hangul input, an inactive one alphanumeric. fcitx5 announces no
// change, so the state is asked for now and then, without waiting for the answer.
#include <QDBusConnection>
#include <QTimer>
#include <memory>

#include "app/gui/HangulInputSwitch.h"

class FcitxInputSwitch : public HangulInputSwitch {
public:
    static constexpr int kPollMs = 1000;

    // Null when fcitx5 is not on the bus.
    static std::unique_ptr<FcitxInputSwitch> Connect(const QDBusConnection& bus);

    std::optional<bool> HangulMode() override { return hangul_; }
    void SetHangulMode(bool on) override;

private:
    explicit FcitxInputSwitch(const QDBusConnection& bus);
    QDBusMessage call(const char* method) const;
    void askState();
    void learn(std::optional<bool> hangul);

    QDBusConnection bus_;
    QTimer poll_;
    std::optional<bool> hangul_;
};
