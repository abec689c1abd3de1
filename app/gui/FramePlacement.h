#pragma once
// A top-level window's placement as the profile store keeps it (WindowPlacement: the normal
// rectangle, the show command, the restore-maximised flag) and back. The rectangle is the
// window's client geometry in desktop coordinates, so that a window put back where it was stored
// stands exactly there again.
#include <QList>
#include <QRect>
#include <QWidget>

#include "auto/CSettingsSection.h"

namespace ShowCommand {
constexpr unsigned Normal = 1;
constexpr unsigned Minimised = 2;
constexpr unsigned Maximised = 3;
}  // namespace ShowCommand
constexpr unsigned kRestoreToMaximised = 2;  // WindowPlacement::flags

WindowPlacement placementOf(const QWidget& window);
QRect normalRect(const WindowPlacement& placement);

// A rectangle showing less than 100 × 32 pixels of its top edge on every screen is moved onto the
// nearest screen, keeping its size where it fits and shrunk to the screen where it does not;
// others stay as they are. `screens`: the screens' available areas.
QRect mendedRect(const QRect& rect, const QList<QRect>& screens);
QList<QRect> availableScreenAreas();

// Whether the window system lets a program choose where its windows stand (X11 does, Wayland
// does not).
bool windowPositionsWork();
