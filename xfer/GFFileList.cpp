#include "xfer/GFFileList.h"

#include <sys/stat.h>

std::vector<std::string> GFFileList::Split(const char* paths) {
    std::vector<std::string> out;
    if (!paths) return out;
    std::string current;
    for (const char* p = paths; *p; ++p) {
        if (*p == '\t') {
            if (!current.empty()) out.push_back(current);
            current.clear();
            continue;
        }
        current += *p;
        if ((static_cast<unsigned char>(*p) & 0x80) && p[1]) current += *++p;
    }
    if (!current.empty()) out.push_back(current);
    return out;
}

unsigned long GFFileList::RemainingBytes() const {
    unsigned long total = 0;
    for (size_t i = next_; i < paths_.size(); ++i) {
        struct stat st {};
        if (stat(paths_[i].c_str(), &st) == 0) total += static_cast<unsigned long>(st.st_size);
    }
    return total;
}

bool GFFileList::TakeNext() {
    if (next_ >= paths_.size()) return false;
    struct stat st {};
    if (stat(paths_[next_].c_str(), &st) != 0) return false;
    path_ = paths_[next_++];
    length_ = static_cast<unsigned long>(st.st_size);
    time_ = st.st_mtime > 0 ? static_cast<long>(st.st_mtime) : 0;
    return true;
}
