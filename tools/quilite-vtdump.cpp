// quilite-vtdump: feeds a file (or standard input) through the terminal engine and prints the
// resulting screen as JSON.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/VtDump.h"

namespace {

const char kUsage[] =
    "usage: quilite-vtdump [--rows N] [--johab] [--echo] [FILE|-]\n"
    "  Feeds the bytes of FILE (or standard input) through the terminal engine and prints\n"
    "  the screen, the history, the replies sent to the host and the events as JSON.\n"
    "  --rows N   screen rows, 1..99 (default 25)\n"
    "  --johab    Johab display and sending\n"
    "  --echo     answer echo\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "quilite-vtdump: %s\n%s", message.c_str(), kUsage);
    return 2;
}

bool parseRows(const char* text, int& rows) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < 1 || value > TWView::kMaxRows) return false;
    rows = static_cast<int>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    VtDumpOptions options;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--rows") {
            if (i + 1 >= argc) return fail("--rows needs a number");
            if (!parseRows(argv[++i], options.rows)) return fail("rows must be 1..99");
        } else if (arg == "--johab") {
            options.johab = true;
        } else if (arg == "--echo") {
            options.echo = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return fail("unknown option " + arg);
        } else if (path) {
            return fail("only one input file");
        } else {
            path = argv[i];
        }
    }

    std::string input;
    if (!path || std::strcmp(path, "-") == 0) {
        input.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file) return fail(std::string("cannot read ") + path + ": " + std::strerror(errno));
        input.assign(std::istreambuf_iterator<char>(file), {});
    }

    VtDump dump(options);
    dump.Feed(input);
    std::cout << dump.Json() << "\n";
    return 0;
}
