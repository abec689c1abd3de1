// quilite-image: the picture library without a display. Decodes pictures as they would arrive,
// replays captured inline picture streams and growing ZMODEM picture files, and converts BMPs.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "image/DImageDoc.h"
#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "image/PngWrite.h"
#include "image/ZImageDoc.h"
#include "platform/ProgramHelp.h"
#include "tools/ToolInput.h"

namespace {

const char kUsage[] =
    "usage: quilite-image decode [--chunk N] [--png FILE] PICTURE\n"
    "       quilite-image dimage [--chollian-image 0|1] [--png FILE] STREAM\n"
    "       quilite-image zimage [--grow N] [--png FILE] FILE\n"
    "       quilite-image convert [--bits N] [--rle] IN.bmp OUT.bmp\n"
    "  decode   feeds a JPEG, PNG or BMP file in pieces of N bytes (default 4096)\n"
    "  dimage   replays a captured host stream of an inline picture; prints the answers sent\n"
    "           (hex), the window position, the states and the bad packets as JSON\n"
    "  zimage   shows FILE as a picture receive would, the file growing by N bytes at a time\n"
    "           (0: all at the end)\n"
    "  convert  re-encodes a BMP: 1, 4, 8 or 24 bits (0 keeps the depth), RLE for 4 and 8\n"
    "  --png FILE  writes the decoded picture as a PNG file\n"
    "Exit status: 0 done, 1 undecodable input, 2 usage.\n";

int usage(const std::string& message) {
    std::fprintf(stderr, "quilite-image: %s\n%s", message.c_str(), kUsage);
    return 2;
}

int unreadable(const std::string& path) {
    std::fprintf(stderr, "quilite-image: cannot read %s\n", path.c_str());
    return 1;
}

struct Options {
    std::string command;
    std::vector<std::string> files;
    std::string png;
    long number = -1;  // --chunk, --grow or --bits
    bool chollianImage = true;
    bool rle = false;
};

// The options each command accepts; an empty error when the line is well formed.
std::string parseOptions(int argc, char** argv, Options& o) {
    o.command = argv[1];
    const std::string numberOption = o.command == "decode"    ? "--chunk"
                                     : o.command == "zimage"  ? "--grow"
                                     : o.command == "convert" ? "--bits"
                                                              : "";
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--png" && o.command != "convert" && hasValue) {
            o.png = argv[++i];
        } else if (!numberOption.empty() && arg == numberOption && hasValue) {
            const long lo = o.command == "decode" ? 1 : 0;
            if (!ParseToolNumber(argv[++i], lo, 1 << 30, o.number)) return "bad " + arg;
        } else if (arg == "--chollian-image" && o.command == "dimage" && hasValue) {
            const std::string v = argv[++i];
            if (v != "0" && v != "1") return "--chollian-image takes 0 or 1";
            o.chollianImage = v == "1";
        } else if (arg == "--rle" && o.command == "convert") {
            o.rle = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            o.files.push_back(arg);
        }
    }
    const size_t want = o.command == "convert" ? 2 : 1;
    if (o.files.size() != want) return "wrong number of files";
    return "";
}

bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string pictureJson(const Surface* picture, int rows) {
    if (!picture || picture->empty()) return "null";
    return "{\"width\": " + std::to_string(picture->width) +
           ", \"height\": " + std::to_string(picture->height) +
           ", \"rows\": " + std::to_string(rows) + "}";
}

// Prints the picture, writes the PNG asked for; the exit status.
int finishPicture(const Options& o, const Surface* picture, bool undecodable) {
    if (undecodable) {
        std::fprintf(stderr, "quilite-image: %s: undecodable picture\n", o.files[0].c_str());
        return 1;
    }
    if (!o.png.empty() && (!picture || !SavePng(*picture, o.png))) {
        std::fprintf(stderr, "quilite-image: cannot write %s\n", o.png.c_str());
        return 1;
    }
    return 0;
}

int decode(const Options& o) {
    std::vector<uint8_t> bytes;
    if (!readFile(o.files[0], bytes)) return unreadable(o.files[0]);
    const size_t chunk = o.number > 0 ? static_cast<size_t>(o.number) : 4096;
    bool progressive = false;
    FeedLoad feed(PictureEvents{[&](int, int, bool p) { progressive = p; }, nullptr});
    for (size_t at = 0; at < bytes.size(); at += chunk)
        feed.Feed(bytes.data() + at, std::min(chunk, bytes.size() - at));
    feed.Stop();
    if (!feed.Undecodable()) {
        std::printf("{\"picture\": %s, \"progressive\": %s}\n",
                    pictureJson(&feed.Picture(), feed.RowsDecoded()).c_str(),
                    progressive ? "true" : "false");
    }
    return finishPicture(o, &feed.Picture(), feed.Undecodable());
}

std::string hexBytes(const std::vector<uint8_t>& bytes) {
    std::string out;
    char hex[4];
    for (uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, "%02x", b);
        if (!out.empty()) out += ' ';
        out += hex;
    }
    return out;
}

std::string numbersJson(const std::vector<int>& numbers) {
    std::string out = "[";
    for (size_t i = 0; i < numbers.size(); ++i)
        out += (i ? ", " : "") + std::to_string(numbers[i]);
    return out + "]";
}

int dimage(const Options& o) {
    std::vector<uint8_t> stream;
    if (!readFile(o.files[0], stream)) return unreadable(o.files[0]);
    size_t next = 0;
    std::vector<uint8_t> answers;
    std::vector<int> modes;
    VNImageHooks hooks{[&] { return next < stream.size() ? stream[next++] : -1; },
                       [&](int b) { answers.push_back(static_cast<uint8_t>(b)); },
                       [&](int mode) { modes.push_back(mode); },
                       [](const DImageDoc&) { return 0; }};
    auto doc = std::make_unique<DImageDoc>(hooks, Clock::steady(), o.chollianImage,
                                           std::filesystem::temp_directory_path().string());
    while (next < stream.size() && doc->State() != DImageDoc::kFinished) {
        doc->Pump();
        doc->DecodeAll();
    }
    doc->DecodeAll();
    const bool started = doc->Feed() != nullptr;
    const Surface picture = started ? doc->Feed()->Picture() : Surface{};
    const int rows = started ? doc->Feed()->RowsDecoded() : 0;
    const bool undecodable = started && doc->Undecodable();
    const std::vector<int> states = doc->StateHistory();
    const int bad = doc->BadPackets(), x = doc->WindowX(), y = doc->WindowY();
    doc.reset();
    std::printf(
        "{\"answers\": \"%s\", \"window\": %s, \"states\": %s, \"badPackets\": %d, "
        "\"modes\": %s, \"picture\": %s}\n",
        hexBytes(answers).c_str(),
        x < 0 ? "null"
              : ("{\"x\": " + std::to_string(x) + ", \"y\": " + std::to_string(y) + "}").c_str(),
        numbersJson(states).c_str(), bad, numbersJson(modes).c_str(),
        pictureJson(&picture, rows).c_str());
    return finishPicture(o, &picture, undecodable);
}

int zimage(const Options& o) {
    std::error_code error;
    const auto size = static_cast<int64_t>(std::filesystem::file_size(o.files[0], error));
    if (error) return unreadable(o.files[0]);
    ZImageDoc doc(o.files[0], Clock::steady());
    if (o.number > 0) {
        for (int64_t grown = o.number; grown < size; grown += o.number) {
            doc.SetPos(grown);
            doc.DecodeAll();
        }
    }
    doc.End();
    doc.DecodeAll();
    if (!doc.Undecodable())
        std::printf("{\"picture\": %s}\n",
                    pictureJson(doc.Picture(), doc.Feed()->RowsDecoded()).c_str());
    return finishPicture(o, doc.Picture(), doc.Undecodable());
}

int convert(const Options& o) {
    const int bits = o.number < 0 ? 0 : static_cast<int>(o.number);
    HDIB in = LoadDIB(o.files[0]);
    if (!in) {
        std::fprintf(stderr, "quilite-image: %s: not a BMP we read\n", o.files[0].c_str());
        return 1;
    }
    const int depth = bits ? bits : DIBHeaderOf(in).bitCount;
    const uint32_t compression = !o.rle ? kBiRgb : depth == 4 ? kBiRle4 : kBiRle8;
    HDIB out = ChangeDIBFormat(in, bits, compression);
    DestroyDIB(in);
    if (!out)
        return usage("no such format: " + std::to_string(bits) + (o.rle ? " bits, RLE" : " bits"));
    const int result = SaveDIB(out, o.files[1]);
    DestroyDIB(out);
    if (result != kSaveOk) {
        std::fprintf(stderr, "quilite-image: cannot write %s (%d)\n", o.files[1].c_str(), result);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (printHelpIfAsked(argc, argv, kUsage)) return 0;
    if (argc < 2) return usage("a command is needed");
    Options o;
    const std::string command = argv[1];
    if (command != "decode" && command != "dimage" && command != "zimage" && command != "convert")
        return usage("unknown command " + command);
    const std::string error = parseOptions(argc, argv, o);
    if (!error.empty()) return usage(error);
    if (command == "decode") return decode(o);
    if (command == "dimage") return dimage(o);
    if (command == "zimage") return zimage(o);
    return convert(o);
}
