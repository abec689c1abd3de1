// Videotex mode in the session: the interpreter's videotex start hands the pump to the page
// decoder, which answers on the link and takes typed keys, until the host ends the page or
// the connection goes; a transfer keeps it off the link.
#include "tests/link/SessionTestSupport.h"
#include "vtx/CVtx.h"

namespace {

class SessionVideotexTest : public SessionTest {
protected:
    void connect() {
        start({"bbs.example"});
        setOnline(true);
        links.last->ClearOutput();
    }
};

}  // namespace

TEST_F(SessionVideotexTest, AStartHandsThePumpToThePageUntilTheHostEndsIt) {
    connect();
    // Text, the start, a page asking for the reply and opening the field, all in one read.
    links.last->Feed("before\x1b%A\x1b&2\x9F");
    settle();
    EXPECT_TRUE(screenShows("before"));
    ASSERT_NE(doc->VideotexPage(), nullptr);
    EXPECT_FALSE(doc->VideotexShown());  // no window here
    EXPECT_EQ(hooks.events, (std::vector<int>{-808}));
    EXPECT_EQ(sent(),
              "\x1b&3A\x7f"
              "6\x7f");
    // Typed into the field, Enter sends the fragment.
    links.last->ClearOutput();
    EXPECT_TRUE(
        doc->VideotexText("\xb0\xa1"
                          "1\b\r"));
    const std::string fragment = sent();
    ASSERT_EQ(fragment.size(), 10 + 8 + 8 + 4 + 8 + 16 + 5 + 4 + 1u);
    EXPECT_EQ(fragment.substr(38, 3), "\xb0\xa1 ");
    // Keys: F1 and the arrows plain; with a modifier, or any other key, nothing is sent.
    links.last->ClearOutput();
    EXPECT_TRUE(doc->VideotexKey(TWKey::F1, 0));
    EXPECT_TRUE(doc->VideotexKey(TWKey::F2, kTWShift));
    EXPECT_TRUE(doc->VideotexKey(TWKey::F12, 0));
    EXPECT_TRUE(doc->VideotexKey(TWKey::Down, 0));
    EXPECT_EQ(sent(), "\x1b#9\r\x1b%17\r\n");
    // The host ends the page: text again, and the next bytes are text.
    links.last->Feed("\x1b%@after");
    settle();
    EXPECT_EQ(doc->VideotexPage(), nullptr);
    EXPECT_TRUE(screenShows("beforeafter"));
    EXPECT_FALSE(doc->VideotexText("x"));
    EXPECT_FALSE(doc->VideotexKey(TWKey::F1, 0));
}

TEST_F(SessionVideotexTest, GoingOfflineOrATransferLeavesThePageAlone) {
    connect();
    links.last->Feed("\x1b%A");
    settle();
    ASSERT_NE(doc->VideotexPage(), nullptr);
    // While a transfer owns the link, the page reads nothing.
    doc->BeginTransfer(nullptr);
    links.last->Feed("\x1b&1");
    settle();
    EXPECT_EQ(sent(), "");
    doc->EndTransfer(0);
    settle();
    EXPECT_EQ(sent(), "\x1b&>");
    EXPECT_EQ(doc->VideotexPage(), nullptr);
    // Going offline ends videotex mode.
    links.last->Feed("\x1b%A");
    settle();
    ASSERT_NE(doc->VideotexPage(), nullptr);
    setOnline(false);
    EXPECT_EQ(doc->VideotexPage(), nullptr);
}
