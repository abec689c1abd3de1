#pragma once
// Finding the IPv4 address of a host name without stopping the user interface: the lookup runs
// on a worker thread while the loop keeps running, behind a notice that appears only when the
// lookup outlasts two seconds and that the user may cancel.
#include <netinet/in.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/EventLoop.h"
#include "platform/Prompt.h"

// Runs on the worker thread; nothing when the name is not known. It may outlive the lookup
// that started it (the user cancelled), so it must not refer to anything short-lived.
using HostResolver = std::function<std::optional<in_addr>(const std::string& name)>;

// The system's resolver (getaddrinfo, IPv4).
std::optional<in_addr> resolveHost(const std::string& name);

enum class LookupEnd { Found, NotFound, Cancelled };

struct LookupResult {
    LookupEnd end = LookupEnd::NotFound;
    in_addr address{};
};

// name: CP949, as the user gave it. A dotted address is used as it is, without a worker.
LookupResult lookUpHost(const std::string& name, const HostResolver& resolver, EventLoop& loop,
                        Prompt& prompt);
