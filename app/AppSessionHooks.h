#pragma once
// The one set of session hooks the program hands its session. The parts built around the
// session (dialler, transfer bridge, pictures, internet connection) plug in here, each
// forwarding to an object of its own.
#include "link/SessionHooks.h"

class AppSessionHooks : public SessionHooks {};
