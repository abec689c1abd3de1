#include "baduk/MgtRecord.h"

#include <unistd.h>
#include <cstdio>

std::string MgtText(const std::vector<std::string>& moves) {
    std::string text = "(;\r\nComment[];\r\n";
    for (const std::string& move : moves)
        text += move + ";\r\n";
    text += ")\r\n";
    return text;
}

std::string SaveMgt(const std::string& path, const std::vector<std::string>& moves) {
    std::string text = MgtText(moves);
    std::string temporary = path + ".tmpXXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) return kMgtSaveFailed;
    bool written = true;
    for (size_t done = 0; written && done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        written = n > 0;
        if (written) done += static_cast<size_t>(n);
    }
    written = fsync(fd) == 0 && written;
    written = close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return kMgtSaveFailed;
    }
    return {};
}
