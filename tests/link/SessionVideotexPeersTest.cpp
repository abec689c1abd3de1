// Videotex end to end: the session over a real telnet link to a host run by inetutils telnetd
// enters videotex mode on the host's start, answers its request, sends the field typed into
// the page, and returns to the text screen when the host ends the page.
#include "link/SystemLinks.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/link/SessionTestSupport.h"
#include "vtx/CVtx.h"

namespace {

class VideotexPeersTest : public SessionTest {
protected:
    VideotexPeersTest() : system(loop, prompt, *registry, frame) {}
    ~VideotexPeersTest() override { doc.reset(); }

    // The screen's rows run together, trailing blanks dropped.
    std::string screenText() const {
        std::string all;
        for (int y = 0; y < view.Rows(); ++y) {
            std::string row = view.Text(y);
            all += row.substr(0, row.find_last_not_of(' ') + 1);
        }
        return all;
    }

    SystemLinks system;
};

}  // namespace

TEST_F(VideotexPeersTest, APageAnswersTakesTheFieldAndReturnsToText) {
    TelnetServer server(TelnetServer::Kind::Inetutils, "/dev/null", 0,
                        TelnetServer::fixtureProgram("quilite-videotex-host"));
    start({}, Clock::steady(), &system);
    ASSERT_TRUE(doc->Connect("127.0.0.1", server.port()));
    ASSERT_TRUE(runProgramUntil(
        [&] { return doc->VideotexPage() && doc->VideotexPage()->FieldInput(); }, 20000));
    EXPECT_TRUE(screenShows("page"));
    // The rectangle in colour 8 on the page.
    const VtxMirror& page = doc->VideotexPage()->GetVtxBitmap();
    EXPECT_EQ(page.At(page.Column(0.25), page.Row(0.25)), 8);
    doc->VideotexText(
        "\xb0\xa1"
        "1\r");
    ASSERT_TRUE(runProgramUntil([&] { return doc->VideotexPage() == nullptr; }, 10000));
    const std::string answer = "1b2633417f367f";
    const std::string fragment =
        "1f4040a1ccc0c0c0c0b8c0c0c0c0dbf9f8f8a2c0c0c0c1f2c0a4c0c0c0c0bec0dc1b2429430f"
        "b0a131202020202020202020202020201b2d5785a4c0c0c0c01a";
    EXPECT_TRUE(runProgramUntil(
        [&] { return screenText().find("GOT " + answer + fragment) != std::string::npos; }, 10000))
        << screenText();
}
