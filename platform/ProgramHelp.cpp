#include "platform/ProgramHelp.h"

#include <cstdio>
#include <cstring>

bool printHelpIfAsked(int argc, char** argv, const char* usage) {
    if (argc != 2 || (std::strcmp(argv[1], "--help") != 0 && std::strcmp(argv[1], "-h") != 0))
        return false;
    std::fputs(usage, stdout);
    return true;
}
