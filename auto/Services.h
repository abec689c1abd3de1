#pragma once
// The services ("통신망") of section "Hosts": the names the entry editors offer, and a new
// service made after an existing one. A service record holds "Title", "LoginString",
// "PasswordString", the command values (among them "PPP 접속" and "DNS 서버"), "IconFile" and
// "IconIndex". Names and values are CP949.
#include <optional>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"

std::vector<std::string> ServiceNames(Registry& registry);

// What a new service starts with: the command values and the icon of `model` (nothing of it
// when it is empty or unknown) and the prompts "login: " and "Password: ".
Record NewServiceDefaults(Registry& registry, const std::string& model);

// Adds the service named by its "Title". The message to show (UTF-8) when it cannot: no name,
// or "이미 존재하는 통신망 이름은 사용할 수 없습니다." for a name in use.
std::optional<std::string> AddService(Registry& registry, const Record& service);

// The recognised services, by exact name (CP949): "하이텔" 1, "천리안" 2, "나우누리" 3,
// "유니텔" 4; 0 for any other name.
int ServiceType(const std::string& name);
