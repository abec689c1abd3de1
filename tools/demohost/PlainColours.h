#pragma once
// Plain text in the terminal's own colours (bright white on blue, as a new profile has them).
// SGR 0 clears the flags but keeps the colours a coloured line left, so pages return to plain
// text with this rather than with SGR 0 alone. A macro, so that it joins string literals.
#define DEMO_PLAIN "\x1b[0m\x1b[=15F\x1b[=1G"
