// The page "비디오텍스 (VTX)": under its title row the terminal is put into videotex mode and
// sent a NAPLPS page with a field; what the terminal sends back is read as it comes, up to the
// end of the field's fragment, the field's text is drawn back onto the page, and the page ends
// the videotex session, so that the terminal shows text again and the menu prompt follows.
#include "platform/Clock.h"
#include "platform/TextCodec.h"
#include "tools/demohost/DemoPages.h"
#include "tools/demohost/DemoSession.h"
#include "vtx/VtxOperand.h"

namespace {

constexpr int kAnswerMs = 120000;
constexpr size_t kFragmentLimit = 256;
constexpr char kFragmentEnd = 0x1A;
// What comes before the field's 16 bytes in the fragment: the Korean set and shift-in.
constexpr std::string_view kTextStart = "\x1b$)C\x0f";

std::string point(double x, double y) {
    return EncodePoint({x, y}, 3);
}

// SELECT COLOUR (mode 1), then a filled rectangle.
std::string filledBox(int colour, double x, double y, double w, double h) {
    return "\xbe" + std::string(1, char(0xC0 | colour << 2)) + "\xa4" + point(x, y) + "\xb1" +
           point(w, h);
}

// Text at a point in a colour: ASCII in GL, Korean pairs in GR with the Korean set there.
std::string textAt(int colour, double x, double y, const std::string& cp949) {
    return "\xbe" + std::string(1, char(0xC0 | colour << 2)) + "\xa4" + point(x, y) + "\x1b|" +
           cp949 + "\x1b~";
}

std::string pageBytes() {
    return "\x1b%A\x1b$+C" + filledBox(15, 0.05, 0.05, 0.9, 0.65) +
           textAt(12, 0.1, 0.6, utf8ToCp949Lossy("퀼라이트 비디오텍스")) +
           textAt(0, 0.1, 0.45, utf8ToCp949Lossy("이름을 입력하고 Enter를 누르십시오")) +
           filledBox(7, 0.1, 0.3, 0.5, 0.05) + "\xb8" + point(0.1, 0.3) + point(0.5, 0.05) + "\x9f";
}

// The terminal's answer up to the fragment's end; empty when it hung up or took too long.
std::string readFragment(TelnetServerLink& link) {
    Clock& clock = Clock::steady();
    const int64_t end = clock.nowMs() + kAnswerMs;
    std::string got;
    while (link.IsOnline() && clock.nowMs() < end && got.size() < kFragmentLimit) {
        if (!link.WaitInput()) continue;
        for (int b; (b = link.ReadByte()) >= 0;) {
            got += char(b);
            if (b == kFragmentEnd) return got;
        }
    }
    return "";
}

// The field's text in the fragment, trailing blanks dropped.
std::string fieldText(const std::string& fragment) {
    const size_t at = fragment.find(kTextStart);
    if (at == std::string::npos) return "";
    std::string text = fragment.substr(at + kTextStart.size(), 16);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

void ShowVideotex(DemoSession& s) {
    TelnetServerLink& link = s.Link();
    link.Send(pageBytes());
    const std::string text = fieldText(readFragment(link));
    if (!link.IsOnline()) return;
    // The answer on the page for a second (WAIT 1.0 s), then the end of videotex.
    link.Send(textAt(0, 0.1, 0.2, text) + "\x0e\x3d\x5c\x4a\x0f\x1b%@");
    s.Show("\n입력하신 내용: " + cp949ToUtf8Lossy(text) + "\n");
    s.MenuPrompt();
}
