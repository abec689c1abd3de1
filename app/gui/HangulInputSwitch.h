#pragma once
// The desktop input method's Hangul/alphanumeric switch: the host asks for a mode (mode ?85),
// the Shift rule of the input method switches to alphanumeric, and the status bar shows the
// state. Create gives the controller of the input method in use, or one that knows nothing.
#include <functional>
#include <memory>
#include <optional>

class HangulInputSwitch {
public:
    virtual ~HangulInputSwitch() = default;

    // The state now: true Hangul, false alphanumeric, nothing when unknown.
    virtual std::optional<bool> HangulMode() = 0;
    virtual void SetHangulMode(bool on) = 0;
    // Called when the state changed.
    std::function<void()> changed;

    static std::unique_ptr<HangulInputSwitch> Create();
};

// Knows nothing and switches nothing.
class NullHangulInputSwitch : public HangulInputSwitch {
public:
    std::optional<bool> HangulMode() override { return std::nullopt; }
    void SetHangulMode(bool) override {}
};
