#include <fstream>
#include <sstream>

#include "link/SessionCapture.h"
#include "tests/link/SessionTestSupport.h"

namespace {

class EditorHost : public SessionCaptureHost {
public:
    using SessionCaptureHost::SessionCaptureHost;
    void OpenInEditor(const std::string& path) override { edited.push_back(path); }
    std::vector<std::string> edited;
};

class CaptureSessionTest : public SessionTest {
protected:
    std::string capturedFile() {
        std::ifstream in(host->edited.at(0), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        std::filesystem::remove(host->edited.at(0));
        return out.str();
    }
    void begin(Capture::Mode mode) {
        start({"telnet://one.example"});
        host = std::make_unique<EditorHost>(*doc, frame);
        capture = std::make_unique<Capture>(*registry, prompt, view, *host);
        ASSERT_TRUE(capture->SetMode(mode));
        ASSERT_TRUE(capture->StartCapture());
        EXPECT_EQ(capturePaneText(*capture), "갈무리");
    }

    std::unique_ptr<EditorHost> host;
    std::unique_ptr<Capture> capture;
};

TEST_F(CaptureSessionTest, CodeCaptureKeepsEveryReceivedByteAcrossAReconnect) {
    begin(Capture::Mode::Code);
    links.last->Feed("\x1b[1;33mone\r\n");
    settle();
    ASSERT_TRUE(doc->Connect("two.example"));
    links.last->Feed("\x1b[0mtwo\x07");
    settle();
    capture->FinishCaptureAndView();
    EXPECT_EQ(capturePaneText(*capture), "");
    EXPECT_EQ(capturedFile(), "\x1b[1;33mone\r\n\x1b[0mtwo\x07");
}

TEST_F(CaptureSessionTest, ACaptureGoneWhileRecordingLeavesTheSessionWorking) {
    begin(Capture::Mode::Code);
    capture.reset();
    links.last->Feed("still here");
    settle();
    EXPECT_TRUE(screenShows("still here"));
}

TEST_F(CaptureSessionTest, TextCaptureKeepsWhatTheScreenShowsWithNormalisedLineEnds) {
    begin(Capture::Mode::Text);
    links.last->Feed("\x1b[1ma\nb\r\nc\r\rd\x1b[0m");
    settle();
    capture->FinishCaptureAndView();
    EXPECT_EQ(capturedFile(), "a\r\nb\r\nc\rd");
}

}  // namespace
