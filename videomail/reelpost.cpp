// reelpost: records video messages and mails them.
//   reelpost record FILE --seconds N [--video pattern|yuv:FILE|none]
//            [--audio tone[:HZ]|s16:FILE|none] [--caption MS:[TEXT]]... [--simulated-clock]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "videomail/H263Coder.h"
#include "videomail/MessageRecorder.h"
#include "videomail/SimulatedClock.h"

namespace {

const char* const kUsage =
    "usage: reelpost record FILE --seconds N [--video pattern|yuv:FILE|none]\n"
    "                [--audio tone[:HZ]|s16:FILE|none] [--caption MS:[TEXT]]...\n"
    "                [--simulated-clock]\n";

struct RecordArguments {
    std::string file;
    int seconds = 0;
    std::string video = "none";
    std::string audio = "none";
    std::vector<TimedCaption> captions;
    bool simulatedClock = false;
};

// A whole decimal number in [0, limit]; -1 otherwise.
int parseCount(const std::string& text, int limit) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos)
        return -1;
    int value = std::stoi(text);
    return value <= limit ? value : -1;
}

bool parseCaption(const std::string& text, std::vector<TimedCaption>& captions) {
    size_t colon = text.find(':');
    int at = parseCount(text.substr(0, colon), 24 * 3600 * 1000);
    if (colon == text.npos || at < 0) return false;
    captions.push_back({at, text.substr(colon + 1)});
    return true;
}

bool parseRecord(int argc, char** argv, RecordArguments& args) {
    if (argc < 3) return false;
    args.file = argv[2];
    for (int i = 3; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--seconds" && hasValue) {
            args.seconds = parseCount(argv[++i], 3600);
        } else if (arg == "--video" && hasValue) {
            args.video = argv[++i];
        } else if (arg == "--audio" && hasValue) {
            args.audio = argv[++i];
        } else if (arg == "--caption" && hasValue) {
            if (!parseCaption(argv[++i], args.captions)) return false;
        } else if (arg == "--simulated-clock") {
            args.simulatedClock = true;
        } else {
            return false;
        }
    }
    return args.seconds > 0;
}

std::unique_ptr<VideoSource> openVideo(const std::string& spec) {
    if (spec == "pattern") return std::make_unique<PatternVideoSource>();
    if (spec.starts_with("yuv:")) {
        auto source = std::make_unique<RawFileSource>(spec.substr(4), qcif::kPictureBytes);
        if (source->isOpen()) return source;
    }
    return nullptr;
}

std::unique_ptr<AudioSource> openAudio(const std::string& spec) {
    if (spec == "tone") return std::make_unique<ToneAudioSource>(440);
    if (spec.starts_with("tone:")) {
        double hz = atof(spec.c_str() + 5);
        if (hz > 0 && hz < 4000) return std::make_unique<ToneAudioSource>(hz);
    }
    if (spec.starts_with("s16:")) {
        auto source = std::make_unique<RawFileSource>(spec.substr(4), kSoundBufferBytes);
        if (source->isOpen()) return source;
    }
    return nullptr;
}

int record(const RecordArguments& args) {
    std::unique_ptr<VideoSource> video = args.video == "none" ? nullptr : openVideo(args.video);
    std::unique_ptr<AudioSource> audio = args.audio == "none" ? nullptr : openAudio(args.audio);
    if ((args.video != "none" && !video) || (args.audio != "none" && !audio)) {
        fprintf(stderr, "reelpost: cannot open the source %s\n",
                args.video != "none" && !video ? args.video.c_str() : args.audio.c_str());
        return 2;
    }
    RecordingPlan plan{args.seconds * 1000, video.get(), audio.get(), args.captions};
    SimulatedClock simulated;
    Clock& clock = args.simulatedClock ? static_cast<Clock&>(simulated) : Clock::steady();
    if (!Record(args.file, plan, clock)) {
        fprintf(stderr, "%s\n%s\n", kRecordFailedTitle, kRecordFailedText);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    RecordArguments args;
    if (command == "record" && parseRecord(argc, argv, args)) return record(args);
    fputs(kUsage, stderr);
    return 2;
}
