// `type` and `more`: a text file printed line by line.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "auto/Shell.h"
#include "platform/TextCodec.h"

namespace {

// A line that is UTF-8 with non-ASCII bytes is shown in CP949; any other line as it is.
std::string screenLine(std::string_view line) {
    const bool ascii = std::all_of(line.begin(), line.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || !convertText("UTF-8", "UTF-16LE", line)) return std::string(line);
    return utf8ToCp949Lossy(line);
}

}  // namespace

void DosShell::typeFile(const std::string& path, bool paging) {
    // Regular files only: a FIFO or device would block or never end.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return;
    }
    startPager(paging);
    std::string pending;
    char buffer[65536];
    bool stopped = false;
    auto printLine = [&](std::string_view line) {
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!PagerStep()) return false;
        ShellPrint(screenLine(line) + "\r\n");
        return true;
    };
    ssize_t n;
    while (!stopped && (n = read(fd, buffer, sizeof buffer)) > 0) {
        pending.append(buffer, static_cast<size_t>(n));
        size_t start = 0;
        for (size_t end; !stopped && (end = pending.find('\n', start)) != std::string::npos;
             start = end + 1)
            stopped = !printLine(std::string_view(pending).substr(start, end - start));
        pending.erase(0, start);
    }
    if (!stopped && !pending.empty()) printLine(pending);
    close(fd);
}
