// Host bytes through the interpreter into the screen buffer. The first byte chooses Johab,
// answer echo, the newline conversions and the number of rows.
#include <string>

#include "link/MemoryLink.h"
#include "term/TWEmulator.h"
#include "term/TWView.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const int kRows[] = {25, 1, 43, 99};
    const uint8_t flags = data[0];
    MemoryLink link(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    TWView view;
    TWEmulator emulator(&view, &link);
    view.SetRows(kRows[flags >> 6]);
    view.SetJohabDisplay(flags & 1);
    emulator.SetJohabSend(flags & 1);
    emulator.SetAnswerEcho(flags & 2);
    emulator.SetLineOptions(flags & 4, flags & 8, flags & 16);
    while (link.InputCount() > 0)
        emulator.GetChar();
    return 0;
}
