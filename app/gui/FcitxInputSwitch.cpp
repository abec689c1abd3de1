#include "app/gui/FcitxInputSwitch.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

constexpr char kService[] = "org.fcitx.Fcitx5";
constexpr char kPath[] = "/controller";
constexpr char kInterface[] = "org.fcitx.Fcitx.Controller1";
constexpr int kActive = 2;  // State(): 0 no input context, 1 inactive, 2 active

}  // namespace

std::unique_ptr<FcitxInputSwitch> FcitxInputSwitch::Connect(const QDBusConnection& bus) {
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(kService))
        return nullptr;
    return std::unique_ptr<FcitxInputSwitch>(new FcitxInputSwitch(bus));
}

FcitxInputSwitch::FcitxInputSwitch(const QDBusConnection& bus) : bus_(bus) {
    poll_.setInterval(kPollMs);
    QObject::connect(&poll_, &QTimer::timeout, [this] { askState(); });
    poll_.start();
    askState();
}

QDBusMessage FcitxInputSwitch::call(const char* method) const {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

void FcitxInputSwitch::askState() {
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call("State")), &poll_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &poll_,
                     [this](QDBusPendingCallWatcher* w) {
                         const QDBusPendingReply<int> reply = *w;
                         if (!reply.isError() && reply.value() != 0)
                             learn(reply.value() == kActive);
                         w->deleteLater();
                     });
}

void FcitxInputSwitch::SetHangulMode(bool on) {
    bus_.asyncCall(call(on ? "Activate" : "Deactivate"));
    learn(on);
}

void FcitxInputSwitch::learn(std::optional<bool> hangul) {
    if (hangul == hangul_) return;
    hangul_ = hangul;
    if (changed) changed();
}
