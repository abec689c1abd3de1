// The game record checked by real Go programs: GNU Go replays it to the stones on the board,
// captures included; sgf2dg reads every record we write.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "baduk/BadukDoc.h"
#include "baduk/MgtRecord.h"
#include "tests/baduk/GameScript.h"
#include "tools/BadukDump.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out, err;
};

Outcome runCommand(const std::string& command, const fs::path& dir) {
    std::string errFile = (dir / "stderr.txt").string();
    FILE* pipe = popen((command + " 2>" + errFile).c_str(), "r");
    Outcome result;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    result.status = pclose(pipe);
    std::ifstream err(errFile);
    result.err.assign(std::istreambuf_iterator<char>(err), {});
    return result;
}

fs::path freshDir(const char* name) {
    fs::path dir = fs::temp_directory_path() / (std::string(name) + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// GTP vertices ("D16"): letters skip "I", row 19 at the top.
std::vector<std::string> vertices(const CBadukDoc& doc, uint8_t stone) {
    std::vector<std::string> out;
    for (int column = 0; column < CBadukDoc::kSize; ++column)
        for (int row = 0; row < CBadukDoc::kSize; ++row)
            if (doc.StoneAt(column, row) == stone)
                out.push_back(std::string(1, "ABCDEFGHJKLMNOPQRST"[column]) +
                              std::to_string(19 - row));
    std::sort(out.begin(), out.end());
    return out;
}

// The replies of a GTP session, each without its "= ".
std::vector<std::string> gtpReplies(const std::string& out) {
    std::vector<std::string> replies;
    for (size_t at = 0; at < out.size();) {
        size_t end = out.find("\n\n", at);
        if (end == std::string::npos) end = out.size();
        std::string reply = out.substr(at, end - at);
        if (!reply.empty() && reply[0] == '=') replies.push_back(reply.substr(1));
        at = end + 2;
    }
    return replies;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;)
        out.push_back(word);
    std::sort(out.begin(), out.end());
    return out;
}

TEST(GoPeers, GnuGoReplaysTheRecordToTheBoard) {
    fs::path dir = freshDir("quilite-baduk-gnugo");
    BadukDump dump;
    GoScreen::Game game;
    dump.Feed(GameScript::Stream(game));
    ASSERT_NE(dump.Doc(), nullptr);
    fs::path record = dir / "game.mgt";
    ASSERT_EQ(SaveMgt(record.string(), dump.Doc()->Moves()), "");
    std::ofstream(dir / "commands")
        << "loadsgf " << record.string() << "\nlist_stones black\nlist_stones white\nquit\n";
    Outcome gnugo = runCommand("/usr/games/gnugo --mode gtp < " + (dir / "commands").string(), dir);
    ASSERT_EQ(gnugo.status, 0) << gnugo.err;
    EXPECT_EQ(gnugo.err.find("WARNING"), std::string::npos) << gnugo.err;
    std::vector<std::string> replies = gtpReplies(gnugo.out);
    ASSERT_GE(replies.size(), 3u) << gnugo.out;
    EXPECT_EQ(words(replies[1]), vertices(*dump.Doc(), CBadukDoc::kBlack));
    EXPECT_EQ(words(replies[2]), vertices(*dump.Doc(), CBadukDoc::kWhite));
    fs::remove_all(dir);
}

TEST(GoPeers, Sgf2dgReadsEveryRecordWeWrite) {
    fs::path dir = freshDir("quilite-baduk-sgf2dg");
    GoScreen::Game game;
    BadukDump dump;
    dump.Feed(GameScript::Stream(game));
    ASSERT_NE(dump.Doc(), nullptr);
    const std::vector<std::vector<std::string>> records = {{}, {"B[aa]"}, dump.Doc()->Moves()};
    for (const auto& moves : records) {
        fs::path record = dir / "g.mgt";
        ASSERT_EQ(SaveMgt(record.string(), moves), "");
        Outcome converted = runCommand("sgf2dg -converter ASCII -i " + record.string() + " -o " +
                                           (dir / "out").string() + " </dev/null",
                                       dir);
        EXPECT_EQ(converted.status, 0) << converted.err;
    }
    // The converter does tell a record without its closing parenthesis.
    std::string cut = MgtText({"B[aa]"});
    std::ofstream(dir / "cut.mgt") << cut.substr(0, cut.find(')'));
    Outcome refused = runCommand("sgf2dg -converter ASCII -i " + (dir / "cut.mgt").string() +
                                     " -o " + (dir / "out").string() + " </dev/null",
                                 dir);
    EXPECT_NE(refused.status, 0);
    fs::remove_all(dir);
}

}  // namespace
