#pragma once
// Whether the window can be shown: a display Qt can reach, checked before Qt starts, since Qt
// aborts the program when its platform cannot connect.
// True when QT_QPA_PLATFORM names a platform without a display server (offscreen, minimal, vnc)
// or when the X display of DISPLAY accepts a connection.
bool displayReachable();
