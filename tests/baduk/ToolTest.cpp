// quilite-baduk run as a program on a captured game: the JSON, the record GNU Go replays, and
// the saved bitmap equal to the PNG less its bottom two rows (read back by netpbm).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/baduk/GameScript.h"

namespace {

namespace fs = std::filesystem;

std::string capture(const std::string& command, int& status) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    status = pclose(pipe);
    return out;
}

struct Ppm {
    int width = 0, height = 0;
    std::string pixels;
};

// A binary PPM ("P6", maxval 255) as netpbm writes it.
Ppm readPpm(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string magic;
    int maxval = 0;
    Ppm ppm;
    in >> magic >> ppm.width >> ppm.height >> maxval;
    in.get();
    ppm.pixels.assign(std::istreambuf_iterator<char>(in), {});
    return ppm;
}

class BadukTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("quilite-baduk-tool" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        GoScreen::Game game;
        std::ofstream(dir / "game.ans", std::ios::binary) << GameScript::Stream(game);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string tool(const std::string& args, int& status) {
        return capture(std::string(QUILITE_BINARY_DIR "/tools/quilite-baduk ") + args, status);
    }
    fs::path dir;
};

TEST_F(BadukTool, PrintsThePositionAndWritesRecordAndPictures) {
    int status = -1;
    std::string json =
        tool("--service 나우누리 --cell 19 --click 87,81 --click 5,5 --mgt " +
                 (dir / "g.mgt").string() + " --png " + (dir / "g.png").string() + " --bmp " +
                 (dir / "g.bmp").string() + " " + (dir / "game.ans").string(),
             status);
    ASSERT_EQ(status, 0) << json;
    EXPECT_NE(json.find("\"service\":2"), std::string::npos);
    EXPECT_NE(json.find("\"...O...............\",\"..O.O..........X...\""), std::string::npos)
        << json;
    EXPECT_NE(json.find("\"moves\":[\"B[dd]\",\"W[cd]\""), std::string::npos);
    EXPECT_NE(json.find("\"last\":[9,9]"), std::string::npos);
    EXPECT_NE(json.find("\"side\":[\"흑: guest\""), std::string::npos);
    EXPECT_NE(json.find("\"백 차례\""), std::string::npos);
    EXPECT_NE(json.find("\"clicks\":[\"D 4\",\"\"]"), std::string::npos) << json;

    // GNU Go replays the record to the board printed.
    std::ofstream(dir / "gtp") << "loadsgf " << (dir / "g.mgt").string()
                               << "\nlist_stones white\nquit\n";
    std::string replies =
        capture("/usr/games/gnugo --mode gtp < " + (dir / "gtp").string(), status);
    EXPECT_NE(replies.find("= D17 C16 E16 D15\n"), std::string::npos) << replies;

    std::string bmp = capture("bmptopnm " + (dir / "g.bmp").string() + " 2>/dev/null", status);
    ASSERT_EQ(status, 0);
    std::string png = capture("pngtopnm " + (dir / "g.png").string() + " 2>/dev/null", status);
    ASSERT_EQ(status, 0);
    Ppm saved = readPpm(bmp), shown = readPpm(png);
    EXPECT_EQ(shown.width, 19 * 18 + 60);
    ASSERT_EQ(saved.width, shown.width);
    ASSERT_EQ(saved.height, shown.height - 2);
    EXPECT_TRUE(shown.pixels.compare(0, saved.pixels.size(), saved.pixels) == 0);
}

TEST_F(BadukTool, RefusesBadOptionsAndStreamsWithoutABoard) {
    int status = -1;
    for (const char* args : {"--cell 20", "--numbering 2", "--click 5", "--bogus"}) {
        tool(std::string(args) + " </dev/null 2>/dev/null", status);
        EXPECT_EQ(WEXITSTATUS(status), 2) << args;
    }
    std::string json =
        tool("--png " + (dir / "x.png").string() + " - </dev/null 2>/dev/null", status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(json, "{\"board\":null}\n");
    EXPECT_FALSE(fs::exists(dir / "x.png"));
}

}  // namespace
