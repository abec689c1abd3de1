// reelpost: records video messages and mails them.
//   reelpost                 (the window, on the message file in the user's data folder)
//   reelpost record FILE --seconds N [--video pattern|yuv:FILE|/dev/DEVICE|none]
//            [--audio tone[:HZ]|s16:FILE|mic|none] [--caption MS:[TEXT]]... [--simulated-clock]
//   reelpost package FILE OUT
//   reelpost send FILE --to LIST [--cc LIST] [--subject T] [--body T]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <QApplication>

#include "app/gui/QtPrompt.h"
#include "auto/ProfileStore.h"
#include "platform/ProcessLauncher.h"
#include "platform/ProgramHelp.h"
#include "platform/TextCodec.h"
#include "platform/UserDirs.h"
#include "videomail/CameraSource.h"
#include "videomail/H263Coder.h"
#include "videomail/MailDelivery.h"
#include "videomail/MessageRecorder.h"
#include "videomail/MicrophoneSource.h"
#include "videomail/Package.h"
#include "videomail/ReelpostWindow.h"
#include "videomail/SimulatedClock.h"

namespace {

const char* const kUsage =
    "usage: reelpost\n"
    "       reelpost record FILE --seconds N [--video pattern|yuv:FILE|/dev/DEVICE|none]\n"
    "                [--audio tone[:HZ]|s16:FILE|mic|none] [--caption MS:[TEXT]]...\n"
    "                [--simulated-clock]\n"
    "       reelpost package FILE OUT\n"
    "       reelpost send FILE --to LIST [--cc LIST] [--subject T] [--body T]\n";

const char* const kCamera = "/dev/video0";

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

// A source that cannot be opened leaves the reason in error.
std::unique_ptr<VideoSource> openVideo(const std::string& choice, std::string& error) {
    error = "cannot open the source " + choice;
    if (choice == "pattern") return std::make_unique<PatternVideoSource>();
    if (choice.starts_with("yuv:")) {
        auto source = std::make_unique<RawFileSource>(choice.substr(4), qcif::kPictureBytes);
        if (source->isOpen()) return source;
    }
    if (choice.starts_with("/dev/")) {
        auto camera = std::make_unique<CameraSource>(choice);
        if (camera->isOpen()) return camera;
        error = camera->error();
    }
    return nullptr;
}

std::unique_ptr<AudioSource> openAudio(const std::string& choice, std::string& error) {
    error = "cannot open the source " + choice;
    if (choice == "tone") return std::make_unique<ToneAudioSource>(440);
    if (choice.starts_with("tone:")) {
        double hz = atof(choice.c_str() + 5);
        if (hz > 0 && hz < 4000) return std::make_unique<ToneAudioSource>(hz);
    }
    if (choice.starts_with("s16:")) {
        auto source = std::make_unique<RawFileSource>(choice.substr(4), kSoundBufferBytes);
        if (source->isOpen()) return source;
    }
    if (choice == "mic") {
        auto microphone = std::make_unique<MicrophoneSource>();
        if (microphone->isOpen()) return microphone;
        error = microphone->error();
    }
    return nullptr;
}

// The microphone delivers through the event loop of the thread that opened it, so with it the
// recording runs on a thread of its own while this one runs the loop.
int record(int argc, char** argv, const RecordArguments& args) {
    std::optional<QCoreApplication> app;
    if (args.audio == "mic") app.emplace(argc, argv);
    std::string error;
    std::unique_ptr<VideoSource> video;
    std::unique_ptr<AudioSource> audio;
    if ((args.video != "none" && !(video = openVideo(args.video, error))) ||
        (args.audio != "none" && !(audio = openAudio(args.audio, error)))) {
        fprintf(stderr, "reelpost: %s\n", error.c_str());
        return 2;
    }
    RecordingPlan plan{args.seconds * 1000, video.get(), audio.get(), args.captions};
    SimulatedClock simulated;
    Clock& clock = args.simulatedClock ? static_cast<Clock&>(simulated) : Clock::steady();
    bool recorded = false;
    if (app) {
        std::thread recording([&] {
            recorded = Record(args.file, plan, clock);
            QMetaObject::invokeMethod(&*app, [] { QCoreApplication::quit(); });
        });
        app->exec();
        recording.join();
    } else {
        recorded = Record(args.file, plan, clock);
    }
    if (!recorded) {
        fprintf(stderr, "%s\n%s\n", kRecordFailedTitle, kRecordFailedText);
        return 1;
    }
    return 0;
}

// Messages go to standard error; a question is answered Yes, as the command line asked for
// what it questions.
class ConsolePrompt : public Prompt {
public:
    PromptReply show(const PromptRequest& request) override {
        fprintf(stderr, "%s\n", request.text.c_str());
        bool yesNo = request.buttons == PromptButtons::YesNo ||
                     request.buttons == PromptButtons::YesNoCancel;
        return {yesNo ? PromptAnswer::Yes : PromptAnswer::Ok, request.checked};
    }
    std::unique_ptr<WaitNotice> beginWait(const std::string&, int) override { return nullptr; }
};

class ConsoleProgress : public SendProgress {
public:
    void Status(const std::string& text) override { fprintf(stderr, "%s\n", text.c_str()); }
    void Percent(int percent) override { fprintf(stderr, "%d%%\n", percent); }
};

std::optional<ReelpostSettings> loadSettings(Prompt& prompt) {
    std::string error;
    std::unique_ptr<Registry> registry = openProfileStore(defaultProfilePath(), prompt, error);
    if (!registry) {
        fprintf(stderr, "reelpost: %s\n", error.c_str());
        return std::nullopt;
    }
    return loadReelpostSettings(*registry);
}

int package(const std::string& message, const std::string& out) {
    ConsolePrompt prompt;
    auto settings = loadSettings(prompt);
    if (!settings) return 1;
    PackageResult built =
        BuildPackage(cp949ToUtf8Lossy(settings->appPath) + "/templete.dat", message, out);
    if (built == PackageResult::Built) return 0;
    prompt.tell(packageMessage(built), PromptIcon::Warning);
    return 1;
}

bool parseSend(int argc, char** argv, SendForm& form) {
    if (argc < 3) return false;
    for (int i = 3; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        std::string value = utf8ToCp949Lossy(argv[++i]);
        if (arg == "--to") {
            form.to = value;
        } else if (arg == "--cc") {
            form.cc = value;
        } else if (arg == "--subject") {
            form.subject = value;
        } else if (arg == "--body") {
            form.body = value;
        } else {
            return false;
        }
    }
    return true;
}

// Waits for a program started for the user (the mail program) to end.
int runProgramToEnd(ProcessLauncher& launcher, const std::vector<std::string>& argv) {
    int pid = launcher.start(argv).pid;
    return pid < 0 ? -1 : launcher.wait(pid, 600000);
}

int send(const std::string& message, const SendForm& form) {
    ConsolePrompt prompt;
    ConsoleProgress progress;
    auto settings = loadSettings(prompt);
    if (!settings) return 1;
    ProcessLauncher launcher;
    DeliveryHooks hooks{
        prompt, progress,
        [](const std::string& status) { fprintf(stderr, "%s\n", status.c_str()); },
        [&](const std::vector<std::string>& argv) { return runProgramToEnd(launcher, argv); }};
    return DeliverMessage(message, *settings, form, hooks) ? 0 : 1;
}

// The camera and the microphone; one that cannot be used is left out, the user told why.
RecordingSources openDevices(Prompt& prompt) {
    RecordingSources sources;
    std::string error;
    sources.video = openVideo(kCamera, error);
    if (!sources.video) prompt.tell(error, PromptIcon::Warning);
    sources.audio = openAudio("mic", error);
    if (!sources.audio) prompt.tell(error, PromptIcon::Warning);
    return sources;
}

int window(int argc, char** argv) {
    QApplication app(argc, argv);
    QtPrompt prompt;
    std::string error;
    std::unique_ptr<Registry> registry = openProfileStore(defaultProfilePath(), prompt, error);
    if (!registry) {
        prompt.tell(error, PromptIcon::Error);
        return 1;
    }
    ProcessLauncher launcher;
    ReelpostWindow composer(
        dataHome() + "/quilite/reelpost/message.vmi", *registry, prompt,
        [&prompt] { return openDevices(prompt); },
        [&](const std::vector<std::string>& argv) { return runProgramToEnd(launcher, argv); });
    prompt.setParent(&composer);
    composer.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (printHelpIfAsked(argc, argv, kUsage)) return 0;
    if (argc == 1) return window(argc, argv);
    std::string command = argv[1];
    RecordArguments recordArgs;
    SendForm form;
    if (command == "record" && parseRecord(argc, argv, recordArgs))
        return record(argc, argv, recordArgs);
    if (command == "package" && argc == 4) return package(argv[2], argv[3]);
    if (command == "send" && parseSend(argc, argv, form)) return send(argv[2], form);
    fputs(kUsage, stderr);
    return 2;
}
