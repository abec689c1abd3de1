#include "link/DialResult.h"

DialResult ClassifyDialResult(std::string_view line) {
    line = line.substr(0, line.find_first_of("\r\n"));
    if (line.starts_with("NO DIAL")) return DialResult::NoDialTone;
    if (line.starts_with("ERROR")) return DialResult::Error;
    for (std::string_view word :
         {"CONNECT", "CARRIER", "PROTOCOL", "COMPRESS", "AUTOSTREAM", "RINGBACK"})
        if (line.starts_with(word)) return DialResult::Connected;
    if (line.starts_with("BUSY") || line.starts_with("NO ") || line == "OK")
        return DialResult::Failed;
    return DialResult::None;
}
