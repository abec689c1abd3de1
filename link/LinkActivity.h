#pragma once
// For the status-bar lamps: bytes were received or sent (serial port or telnet socket).
enum class LinkActivity { Received, Sent };
