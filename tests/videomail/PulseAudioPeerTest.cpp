// A private PulseAudio server started by the test: its pipe source is the microphone that
// reelpost records a tone from, its null sink the speaker that reelplay's window plays the
// tone to, read back with parec from the sink's monitor.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "../fixtures/PeerProcess.h"
#include "VideomailTestSupport.h"

namespace {

const std::string kVideomail = QUILITE_BINARY_DIR "/videomail/";

int run(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<int16_t> samplesOf(const std::string& bytes) {
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                          static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    return samples;
}

// Periods of a tone: swings from below -1000 to above 1000, so that noise does not count.
int periods(const std::vector<int16_t>& samples) {
    int count = 0;
    bool below = false;
    for (int16_t sample : samples) {
        if (sample < -1000) {
            below = true;
        } else if (sample > 1000 && below) {
            ++count;
            below = false;
        }
    }
    return count;
}

class PulseAudioPeer : public ::testing::Test {
protected:
    void SetUp() override {
        if (run("command -v pulseaudio >/dev/null && command -v parec >/dev/null") != 0)
            GTEST_SKIP() << "pulseaudio and parec are not installed (scripts/install-deps)";
        writeFile(folder / "pa.pa",
                  "load-module module-native-protocol-unix auth-anonymous=1 socket=" +
                      (folder / "native") +
                      "\nload-module module-null-sink sink_name=speaker"
                      "\nload-module module-pipe-source source_name=mic format=s16le rate=8000 "
                      "channels=1 file=" +
                      (folder / "mic.fifo") +
                      "\nset-default-source mic\nset-default-sink speaker\n");
        setenv("HOME", folder.path().c_str(), 1);
        setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + (folder / "native")).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        server = std::make_unique<PeerProcess>(
            std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                     "--use-pid-file=no", "-F", folder / "pa.pa"},
            -1, folder.path(), folder / "pulseaudio.log");
        for (int i = 0; i < 100 && !std::filesystem::exists(folder / "native"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!std::filesystem::exists(folder / "native"))
            GTEST_SKIP() << "pulseaudio could not start here: "
                         << readFile(folder / "pulseaudio.log");
    }

    void TearDown() override {
        server.reset();
        unsetenv("PULSE_SERVER");
    }

    TempFolder folder;
    std::unique_ptr<PeerProcess> server;
};

}  // namespace

TEST_F(PulseAudioPeer, RecordsTheMicrophone) {
    std::thread talker([this] {
        std::string tone = sineSamples(8000 * 3, 500);
        int fd = open((folder / "mic.fifo").c_str(), O_WRONLY);
        if (fd < 0) return;
        ssize_t written = write(fd, tone.data(), tone.size());
        (void)written;
        close(fd);
    });
    int recorded = run(kVideomail + "reelpost record '" + (folder / "m.vmi") +
                       "' --seconds 1 --audio mic 2> '" + (folder / "err") + "'");
    talker.join();
    ASSERT_EQ(recorded, 0) << readFile(folder / "err");
    ASSERT_EQ(run(kVideomail + "reelplay --headless --no-pacing --wav '" + (folder / "m.wav") +
                  "' '" + (folder / "m.vmi") + "'"),
              0);
    std::vector<int16_t> samples = samplesOf(readFile(folder / "m.wav").substr(44));
    ASSERT_EQ(samples.size(), 8000u);  // five buffers of 200 ms
    EXPECT_NEAR(periods(samples), 500, 15);
}

TEST_F(PulseAudioPeer, PlaysToTheSpeaker) {
    ASSERT_EQ(run(kVideomail + "reelpost record '" + (folder / "m.vmi") +
                  "' --seconds 2 --audio tone:500 --simulated-clock"),
              0);
    PeerProcess listener({"parec", "-d", "speaker.monitor", "--format=s16le", "--rate=8000",
                          "--channels=1", "--raw", folder / "heard.raw"},
                         -1, folder.path());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    PeerProcess player({kVideomail + "reelplay", folder / "m.vmi"}, -1, folder.path(),
                       folder / "reelplay.log");
    // The window's start, its two seconds of tone, and room to spare (parec writes its file in
    // large pieces, so it cannot be watched meanwhile).
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
    player.kill(SIGTERM);
    listener.kill(SIGTERM);
    std::vector<int16_t> heard = samplesOf(readFile(folder / "heard.raw"));
    // The tone's two seconds, somewhere in what the monitor heard.
    EXPECT_NEAR(periods(heard), 1000, 60) << readFile(folder / "reelplay.log");
}
