// Pictures sent inline in a session: the picture's document owns the link while it arrives
// (the terminal reads nothing meanwhile), answers the host through the session's link, and
// gives the link back; the host's end sequence and a hang-up ask it to stop.
#include "image/DImagePackets.h"
#include "link/SessionPictures.h"
#include "tests/link/SessionTestSupport.h"

namespace {

class KeptPictures : public PictureFront {
public:
    void OpenDImage(std::unique_ptr<DImageDoc> doc) override { docs.push_back(std::move(doc)); }
    void DestroyPopups() override { ++popupsClosed; }
    std::vector<std::unique_ptr<DImageDoc>> docs;
    int popupsClosed = 0;
};

class PictureHooks : public RecordingHooks {
public:
    void OnImageStart() override { pictures.OnImageStart(); }
    void OnImageEnd() override { pictures.OnImageEnd(); }
    SessionPictures pictures;
};

class SessionPicturesTest : public SessionTest {
protected:
    void connect() {
        start({"bbs.example.org"}, Clock::steady(), nullptr, &pictureHooks);
        pictureHooks.pictures.Attach(*doc, loop, *registry, prompt, front);
        links.last->online = true;
        settle();
    }
    ~SessionPicturesTest() override { pictureHooks.pictures.Detach(); }

    PictureHooks pictureHooks;
    KeptPictures front;
};

const std::string kPicture(3000, 'p');

TEST_F(SessionPicturesTest, PictureOwnsTheLinkUntilItEnds) {
    connect();
    const size_t before = sent().size();
    links.last->Feed("\x1b%B4" + dimagePacket('A', "12 5"));
    settle();
    ASSERT_EQ(front.docs.size(), 1u);
    DImageDoc& picture = *front.docs[0];
    EXPECT_EQ(doc->LinkBusy(), 1);
    EXPECT_EQ(sent().substr(before), dimageAnswer('A'));
    EXPECT_EQ(picture.WindowX(), 96);

    // Keys stay off the link while the picture owns it.
    doc->SendText("typed");
    links.last->Feed(dimagePacket('D', kPicture.substr(0, 2000)) +
                     dimagePacket('D', kPicture.substr(2000)) + dimagePacket('Z', "") +
                     "\x1b%Cafter");
    settle();
    EXPECT_EQ(picture.State(), DImageDoc::kFinished);
    // (The terminal answers the end sequence itself.)
    EXPECT_EQ(sent().substr(before),
              dimageAnswer('A') + dimageAnswer('D') + dimageAnswer('D') + "\x1b&3");
    EXPECT_EQ(doc->LinkBusy(), 0);
    // The bytes after the picture are the terminal's again: the end sequence closes pop-ups.
    EXPECT_TRUE(screenShows("after"));
    EXPECT_EQ(front.popupsClosed, 1);
    EXPECT_EQ(pictureHooks.pictures.Active(), nullptr);
}

TEST_F(SessionPicturesTest, HangUpStopsAPictureInProgress) {
    connect();
    links.last->Feed("\x1b%B4" + dimagePacket('A', "1 1") + dimagePacket('D', "xy"));
    settle();
    ASSERT_EQ(front.docs.size(), 1u);
    EXPECT_EQ(front.docs[0]->State(), DImageDoc::kReceiving);
    doc->HangUp(false);
    EXPECT_EQ(doc->LinkBusy(), 2);
    links.last->Feed("\r");
    settle();
    EXPECT_EQ(front.docs[0]->StateHistory(), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_NE(sent().find(dimageAnswer('Z')), std::string::npos);
    EXPECT_EQ(doc->LinkBusy(), 0);
}

TEST_F(SessionPicturesTest, ClosedWindowGivesTheLinkBack) {
    setComm("ChollianImage", "1");
    connect();
    links.last->Feed("\x1b%B4" + dimagePacket('A', "1 1"));
    settle();
    ASSERT_EQ(front.docs.size(), 1u);
    front.docs.clear();  // the user closed the window
    EXPECT_EQ(doc->LinkBusy(), 0);
    EXPECT_NE(sent().find(std::string(10, '\x18') + std::string(10, '\b')), std::string::npos);
    links.last->Feed("text");
    settle();
    EXPECT_TRUE(screenShows("text"));
}

}  // namespace
