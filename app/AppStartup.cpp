#include "app/AppStartup.h"

#include "auto/CRecordStore.h"
#include "auto/FirstRunSetup.h"
#include "auto/ProfileStore.h"
#include "auto/SoundEvents.h"
#include "platform/DataFolder.h"

AppStartup::~AppStartup() {
    hooks_.Pictures().Detach();
    hooks_.Dialer().Detach();
    hooks_.DetachInternet();
    hooks_.Transfers().Detach();
    doc_.reset();  // the session goes before the links it was made with
}

bool AppStartup::Open() {
    registry_ = openProfileStore(defaultProfilePath(), prompt_, error_);
    if (!registry_) return false;
    if (!runFirstRunSetup(*registry_, prompt_, dataFolder()).proceed) return false;
    copies_ = std::make_unique<InstanceCounter>();
    PlayEventSound(*registry_, sound_, "프로그램 시작", false);
    return true;
}

ScreenSettings AppStartup::StoredScreenSettings() {
    CRecordStore store(*registry_);
    Record record;
    if (store.SelectKind(RecordKind::Screen)) store.ReadRecord(store.Section(), record);
    return ReadScreenSettings(record, ScreenSettings{});
}

CQuillonDoc& AppStartup::CreateSession(EventLoop& loop, TWView& view, SessionFrame& frame) {
    links_ = std::make_unique<SystemLinks>(loop, prompt_, *registry_, frame);
    doc_ = std::make_unique<CQuillonDoc>(
        SessionContext{loop, prompt_, *registry_, sound_, view, *links_, frame, &hooks_});
    hooks_.Dialer().Attach({*doc_, loop, prompt_, *registry_});
    hooks_.AttachInternet(*doc_, loop, *registry_, frame, dataFolder() + "/ck/executer");
    hooks_.Transfers().Attach({*doc_, loop, prompt_, *registry_, sound_, frame});
    return *doc_;
}

void AppStartup::End() {
    hooks_.Pictures().Detach();
    hooks_.Dialer().Detach();
    hooks_.DetachInternet();
    hooks_.Transfers().Detach();
    doc_.reset();
    links_.reset();
    PlayEventSound(*registry_, sound_, "프로그램 끝", true);
}
