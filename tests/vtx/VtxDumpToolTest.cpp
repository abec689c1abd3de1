// quilite-vtxdump run as a program: the JSON, the PNG, pieces, typed keys and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

struct ToolResult {
    int status = -1;
    std::string out;
};

std::string fixture(const std::string& name) {
    return std::string(QUILITE_SOURCE_DIR) + "/tests/fixtures/naplps/" + name;
}

std::string temp(const std::string& name) {
    return ::testing::TempDir() + "vtxdump-" + std::to_string(getpid()) + "-" + name;
}

ToolResult vtxdump(const std::string& args, const std::string* input = nullptr) {
    const std::string in = temp("in"), out = temp("out");
    std::string command = std::string(QUILITE_BINARY_DIR) + "/tools/quilite-vtxdump " + args;
    if (input) {
        std::ofstream(in, std::ios::binary) << *input;
        command += " - < " + in;
    }
    command += " > " + out + " 2>/dev/null";
    const int raw = std::system(command.c_str());
    ToolResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream f(out, std::ios::binary);
    r.out.assign(std::istreambuf_iterator<char>(f), {});
    std::remove(in.c_str());
    std::remove(out.c_str());
    return r;
}

}  // namespace

TEST(VtxDumpTool, PaletteDemoPngShowsTheBars) {
    const std::string png = temp("palette.png");
    const ToolResult r = vtxdump("--png " + png + " " + fixture("palette_demo.nap"));
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\"mirror\":{\"width\":520,\"height\":400}"), std::string::npos);
    EXPECT_NE(r.out.find("\"ended\":false"), std::string::npos);
    QImage image(QString::fromStdString(png));
    std::remove(png.c_str());
    ASSERT_EQ(image.size(), QSize(520, 400));
    // The top row of bars in the greys, the bottom row in the colours, white around.
    const QRgb expected[16] = {
        qRgb(0, 0, 0),       qRgb(32, 32, 32),    qRgb(64, 64, 64),    qRgb(96, 96, 96),
        qRgb(124, 124, 124), qRgb(188, 188, 188), qRgb(208, 208, 208), qRgb(252, 252, 252),
        qRgb(0, 0, 252),     qRgb(188, 0, 252),   qRgb(252, 0, 124),   qRgb(252, 64, 0),
        qRgb(252, 252, 0),   qRgb(64, 252, 0),    qRgb(0, 252, 124),   qRgb(0, 188, 252),
    };
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(image.pixel(32 + 65 * (i % 8), i < 8 ? 107 : 187), expected[i]) << i;
    EXPECT_EQ(image.pixel(260, 330), qRgb(255, 255, 255));
}

TEST(VtxDumpTool, PiecesTypedKeysAndTheFragment) {
    const std::string page = "\x9F";
    const ToolResult r = vtxdump("--face Fixedsys --keys '가1<Enter>'", &page);
    ASSERT_EQ(r.status, 0);
    const std::string fragment =
        "1f4040a1ccc0c0c0c0b8c0c0c0c0dbf9f8f8a2c0c0c0c1f2c0a4c0c0c0c0bec0dc1b2429430f"
        "b0a131202020202020202020202020201b2d5785a4c0c0c0c01a";
    EXPECT_NE(r.out.find("\"sent\":\"" + fragment + "\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"keyBuffer\":\"\""), std::string::npos);
    // A page in one-byte pieces ends as it does whole.
    const std::string whole = vtxdump("--face Fixedsys " + fixture("house.nap")).out;
    const std::string bytewise = vtxdump("--face Fixedsys --chunk 1 " + fixture("house.nap")).out;
    EXPECT_EQ(whole.substr(whole.find("\"ended\"")), bytewise.substr(bytewise.find("\"ended\"")));
    // Session end and its reply.
    const std::string end = "\x1B&1";
    const ToolResult ended = vtxdump("--face Fixedsys", &end);
    EXPECT_NE(ended.out.find("\"runs\":[-1],\"ended\":true,\"sent\":\"1b263e\""), std::string::npos)
        << ended.out;
}

TEST(VtxDumpTool, ExitCodes) {
    EXPECT_EQ(vtxdump(fixture("no-such-page.nap")).status, 1);
    EXPECT_EQ(vtxdump("--chunk 0 " + fixture("rect.nap")).status, 2);
    EXPECT_EQ(vtxdump("--bogus").status, 2);
    EXPECT_EQ(vtxdump("--height").status, 2);
}
