#include "xfer/GFNewlines.h"

#include <fstream>
#include <iterator>

std::string gfConvertNewlines(const std::string& data) {
    std::string out;
    out.reserve(data.size() + data.size() / 16);
    char prev = 0;
    for (char c : data) {
        if (c == '\n' && prev != '\r') {
            out += "\r\n";
        } else if (!(c == '\r' && prev == '\r')) {
            out += c;
        }
        prev = c;
    }
    return out;
}

bool gfConvertFileNewlines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << gfConvertNewlines(data);
    return static_cast<bool>(out);
}
