// Host bytes of an inline picture through the DImage document: packets, answers, states and
// the picture decoded from them, the clock moving a second between passes so that the
// silences are reached too.
#include <filesystem>

#include "image/DImageDoc.h"

namespace {

class StepClock : public Clock {
public:
    int64_t nowMs() const override { return now; }
    void sleepMs(int ms) override { now += ms; }
    int64_t now = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t next = 0, pass = 0;
    VNImageHooks hooks{[&]() -> int {
                           // Every 97th read finds nothing waiting: the pump returns.
                           if (next >= size || (++pass % 97) == 0) return -1;
                           return data[next++];
                       },
                       [](int) {}, [](int) {}, [](const DImageDoc&) { return 0; }};
    StepClock clock;
    DImageDoc doc(hooks, clock, true, std::filesystem::temp_directory_path().string());
    for (int i = 0; i < 10000 && doc.State() != DImageDoc::kFinished; ++i) {
        doc.Pump();
        doc.DecodeSlice();
        clock.now += 1000;
        if (next >= size && i > 70) break;
    }
    doc.DecodeAll();
    return 0;
}
