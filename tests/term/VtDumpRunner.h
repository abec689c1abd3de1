#pragma once
// Runs the quilite-vtdump program with arguments and input, and collects what it printed.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

struct VtDumpResult {
    int status = -1;
    std::string out, err;
};

inline std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Runs the tool with the given arguments; input (when given) goes to a file passed as "-" on
// standard input.
inline VtDumpResult vtdump(const std::string& args, const std::string* input = nullptr) {
    // Test cases run as parallel processes: each uses files of its own.
    std::string base = ::testing::TempDir() + "vtdump-" + std::to_string(getpid());
    std::string in = base + "-in", out = base + "-out", err = base + "-err";
    std::string command = std::string(QUILITE_BINARY_DIR) + "/tools/quilite-vtdump " + args;
    if (input) {
        std::ofstream(in, std::ios::binary) << *input;
        command += " - < " + in;
    } else {
        command += " < /dev/null";
    }
    command += " > " + out + " 2> " + err;
    VtDumpResult r;
    int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    for (const std::string& path : {in, out, err})
        std::remove(path.c_str());
    return r;
}

// The tool's JSON for the input; fails the test when the tool does not succeed.
inline std::string vtdumpJson(const std::string& input, const std::string& args = "") {
    VtDumpResult r = vtdump(args, &input);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}
