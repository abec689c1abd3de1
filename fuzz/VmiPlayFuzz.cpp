// A video-message file through the player without pacing: the record reader, the H.263 and GSM
// decoders, the colour conversion and the caption cut. The input is written to a file of its
// own, as the player reads from a path.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "videomail/VmiPlayer.h"

namespace {

class DiscardOutput : public PlaybackOutput {
public:
    void ShowPicture(const std::string&) override {}
    bool QueueSound(const std::string&) override { return true; }
    void PlaybackFinished() override {}
};

// A plain array, so that it outlives the exit handler that removes the file.
char inputPath[4096];

void removeInput() {
    remove(inputPath);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!inputPath[0]) {
        snprintf(inputPath, sizeof inputPath, "%s/quilite-fuzz-vmi-%d.vmi",
                 std::filesystem::temp_directory_path().c_str(), static_cast<int>(getpid()));
        atexit(removeInput);
    }
    FILE* file = fopen(inputPath, "wb");
    if (!file) return 0;
    fwrite(data, 1, size, file);
    fclose(file);
    DiscardOutput output;
    VmiPlayer player(Clock::steady(), output, [](std::string&, const std::string&, bool) {});
    player.setPacing(false);
    if (player.Play(inputPath)) player.Wait();
    return 0;
}
