#include "auto/Services.h"

#include "platform/TextCodec.h"

std::vector<std::string> ServiceNames(Registry& registry) {
    CRecordStore store(registry);
    std::vector<std::string> names;
    if (!store.SelectKind(RecordKind::Service)) return names;
    for (const Record& service : store.ReadList(store.Section()))
        names.push_back(service.at("Title"));
    return names;
}

Record NewServiceDefaults(Registry& registry, const std::string& model) {
    Record service;
    CRecordStore store(registry);
    std::optional<RegKey> key;
    if (!model.empty() && store.SelectKind(RecordKind::ServiceCommands))
        key = store.FindRecord(model);
    if (key) {
        store.ReadRecord(*key, service);
        Record icon;
        if (store.SelectKind(RecordKind::Service) && store.ReadRecord(*key, icon)) {
            for (const char* field : {"IconFile", "IconIndex"})
                if (icon.count(field)) service[field] = icon[field];
        }
    }
    service["LoginString"] = "login: ";
    service["PasswordString"] = "Password: ";
    return service;
}

std::optional<std::string> AddService(Registry& registry, const Record& service) {
    auto title = service.find("Title");
    if (title == service.end() || title->second.empty()) return "통신망 이름을(를) 입력하십시오.";
    CRecordStore store(registry);
    if (!store.SelectKind(RecordKind::Service)) return store.lastError();
    if (store.FindRecord(title->second)) return "이미 존재하는 통신망 이름은 사용할 수 없습니다.";
    bool added = registry.transaction([&] {
        std::optional<RegKey> key = store.AddRecord(store.Section());
        return key && store.WriteRecord(*key, service);
    });
    if (!added) return store.lastError();
    store.NotifyChanged(RecordKind::Service);
    return std::nullopt;
}

int ServiceType(const std::string& name) {
    static const std::vector<std::string> recognised = {
        utf8ToCp949("하이텔").value(), utf8ToCp949("천리안").value(),
        utf8ToCp949("나우누리").value(), utf8ToCp949("유니텔").value()};
    for (size_t i = 0; i < recognised.size(); ++i)
        if (name == recognised[i]) return static_cast<int>(i) + 1;
    return 0;
}
