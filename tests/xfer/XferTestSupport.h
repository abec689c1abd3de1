#pragma once
// Files, folders and data for the transfer tests.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace xfertest {

// A fresh folder under the build tree, removed with the object.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = std::string(QUILITE_BINARY_DIR) + "/xfer-test-XXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    std::string make(const std::string& name) const {
        std::filesystem::create_directories(path_ + "/" + name);
        return path_ + "/" + name;
    }

private:
    std::string path_;
};

inline void writeFile(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

inline std::string randomData(size_t n, uint32_t seed = 7) {
    std::mt19937 r(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(r() & 0xFF);
    return s;
}

// Every byte value, then long runs of the bytes ZMODEM treats specially.
inline std::string awkwardData() {
    std::string s;
    for (int i = 0; i < 256; ++i)
        s += static_cast<char>(i);
    for (char c : {'\x18', '\x11', '\x13', '\xff', '\x91', '\x93', '\x7f', '\r', '*'})
        s += std::string(3000, c);
    for (int i = 0; i < 2000; ++i)
        s += "**\x18"
             "B00\r\n"[i % 8];
    return s;
}

inline std::string textData(size_t n) {
    static const char* words[] = {"ZMODEM ", "파일 ", "transfer ", "line\n", "CR LF\r\n", "한글 "};
    std::mt19937 r(3);
    std::string s;
    while (s.size() < n)
        s += words[r() % 6];
    s.resize(n);
    return s;
}

}  // namespace xfertest

namespace xfertest {

// Compares two byte strings, reporting sizes and the first difference instead of the bytes.
inline ::testing::AssertionResult sameBytes(const std::string& actual,
                                            const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at " << at;
}

}  // namespace xfertest
