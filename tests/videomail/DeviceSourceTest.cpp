// The camera and the microphone when there is none to use: a clear reason in Korean, no
// pictures or sound, and reelpost record stopping with the reason.
#include <gtest/gtest.h>

#include <cstdlib>

#include "VideomailTestSupport.h"
#include "videomail/CameraSource.h"
#include "videomail/MicrophoneSource.h"

namespace {

const std::string kReelpost = QUILITE_BINARY_DIR "/videomail/reelpost";

}  // namespace

TEST(CameraSource, TellsWhyWithoutACamera) {
    CameraSource camera("/dev/no-such-camera");
    EXPECT_FALSE(camera.isOpen());
    EXPECT_EQ(camera.error(), "카메라를 열 수 없습니다: /dev/no-such-camera");
    EXPECT_FALSE(camera.NextPicture());
}

TEST(MicrophoneSource, TellsWhyWithoutAMicrophone) {
    MicrophoneSource microphone{QAudioDevice()};
    EXPECT_FALSE(microphone.isOpen());
    EXPECT_EQ(microphone.error(), "마이크를 찾을 수 없습니다.");
    EXPECT_FALSE(microphone.NextBuffer());
}

TEST(CameraSource, RecordStopsWithTheReason) {
    TempFolder folder;
    std::string command = kReelpost + " record '" + (folder / "m.vmi") +
                          "' --seconds 1 --video /dev/no-such-camera 2> '" + (folder / "err") + "'";
    int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(readFile(folder / "err"), "reelpost: 카메라를 열 수 없습니다: /dev/no-such-camera\n");
}
