#pragma once
// The telnet entry a session benchmark connects through: a service's host on a loopback port.
#include <string>

#include "auto/CRecordStore.h"

inline void addBenchEntry(Registry& registry, const std::string& service, int port) {
    CRecordStore records(registry);
    records.SelectKind(RecordKind::TelnetEntry);
    records.WriteRecord(*records.AddRecord(records.Section()),
                        {{"Title", "bench"},
                         {"Type", "1"},
                         {"Host", service},
                         {"Server", "127.0.0.1:" + std::to_string(port)}});
}
