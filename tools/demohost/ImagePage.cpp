// The picture page "그림 전송 (IMAGE)": the demo files' JPEG sent inline in the terminal stream,
// each packet waiting for the terminal's answer, then the same picture by the host's picture
// transfer (the image-pending sequence, then ZMODEM).
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "image/DImagePackets.h"
#include "platform/Clock.h"
#include "tools/demohost/DemoFiles.h"
#include "tools/demohost/DemoPages.h"
#include "tools/demohost/DemoSession.h"

namespace {

constexpr size_t kPacketBytes = 1024;
constexpr int kAnswerMs = 10000;

// The demo files' picture; empty when it cannot be read.
std::string demoJpeg() {
    std::ifstream in(DemoFilesFolder() + "/picture.jpg", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The letter of the terminal's next answer; 0 when none came in time.
char awaitAnswer(TelnetServerLink& link) {
    DImagePacketParser parser;
    Clock& clock = Clock::steady();
    const int64_t end = clock.nowMs() + kAnswerMs;
    while (clock.nowMs() < end && link.IsOnline()) {
        const int c = link.ReadByte();
        if (c < 0) {
            link.WaitInput();
            continue;
        }
        if (parser.put(static_cast<uint8_t>(c))) return parser.packet().type;
    }
    return 0;
}

void sendInline(TelnetServerLink& link, const std::string& jpeg) {
    link.Send("\x1b%B4" + dimagePacket('A', "2 3"));
    bool answered = awaitAnswer(link) == 'A';
    for (size_t at = 0; answered && at < jpeg.size(); at += kPacketBytes) {
        link.Send(dimagePacket('D', jpeg.substr(at, kPacketBytes)));
        const char answer = awaitAnswer(link);
        if (answer == 'Z') link.Send("\r");  // the terminal cancelled: the packet has ended
        answered = answer == 'D';
    }
    if (answered) link.Send(dimagePacket('Z', ""));
    link.Send("\x1b%C");
}

}  // namespace

void ShowImage(DemoSession& s) {
    const std::string jpeg = demoJpeg();
    if (jpeg.empty()) {
        s.Show("\n보낼 그림이 없습니다.\n\n");
        s.MenuPrompt();
        return;
    }
    s.Show("\n그림을 화면 안에서 보냅니다.\n");
    sendInline(s.Link(), jpeg);
    const std::string path = std::filesystem::temp_directory_path() /
                             ("quilite-demo-picture-" + std::to_string(s.Mark("IMAGE")++) + ".jpg");
    std::ofstream(path, std::ios::binary) << jpeg;
    s.Show("\n같은 그림을 그림 전송으로 보냅니다.\n");
    s.Link().Send(
        "\x18\n");  // the image-pending sequence: the ZMODEM start that follows is a picture
    s.SendFile(path);
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}
