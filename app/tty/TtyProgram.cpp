#include "app/tty/TtyProgram.h"

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#include "app/CommandSoundPlayer.h"
#include "app/InstanceCounter.h"
#include "app/tty/HostTerminal.h"
#include "app/tty/TtyFrontEnd.h"
#include "auto/CRecordStore.h"
#include "auto/FirstRunSetup.h"
#include "auto/ProfileStore.h"
#include "auto/ProgramExit.h"
#include "auto/SoundEvents.h"
#include "link/CQuillonDoc.h"
#include "link/SystemLinks.h"
#include "platform/PollEventLoop.h"

namespace {

// Character widths come from LC_CTYPE, which must be a UTF-8 one.
void useUtf8Locale() {
    std::setlocale(LC_CTYPE, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

ScreenSettings storedScreenSettings(Registry& registry) {
    CRecordStore store(registry);
    Record record;
    if (store.SelectKind(RecordKind::Screen)) store.ReadRecord(store.Section(), record);
    return ReadScreenSettings(record, ScreenSettings{});
}

int fail(HostTerminal& terminal, const std::string& message) {
    terminal.Restore();
    std::fprintf(stderr, "quilite: %s\n", message.c_str());
    return 1;
}

}  // namespace

int RunTtyProgram(const std::vector<std::string>& words) {
    useUtf8Locale();
    HostTerminal terminal(0, 1);
    std::string error;
    if (!terminal.Enter(error)) {
        std::fprintf(stderr, "quilite: %s\n", error.c_str());
        return 2;
    }
    PollEventLoop loop;
    TtyFrontEnd front(loop, terminal);

    std::unique_ptr<Registry> registry =
        openProfileStore(defaultProfilePath(), front.Questions(), error);
    if (!registry) return fail(terminal, error);
    if (!runFirstRunSetup(*registry, front.Questions(), installedDataFolder()).proceed) return 0;
    const InstanceCounter copies;
    front.ApplyScreenSettings(storedScreenSettings(*registry));

    CommandSoundPlayer sound;
    PlayEventSound(*registry, sound, "프로그램 시작", false);
    SystemLinks links(loop, front.Questions(), *registry, front);
    {
        CQuillonDoc doc(
            SessionContext{loop, front.Questions(), *registry, sound, front.View(), links, front});
        front.Attach(doc);
        doc.Start(words);
        if (!doc.Closing()) front.Run();
    }
    terminal.Restore();
    PlayEventSound(*registry, sound, "프로그램 끝", true);
    setProgramExiting(true);
    return 0;
}
