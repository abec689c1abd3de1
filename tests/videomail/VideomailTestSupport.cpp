#include "VideomailTestSupport.h"

#include <cmath>
#include <cstdint>

std::string sineSamples(int count, double hz, int amplitude) {
    std::string samples;
    for (int i = 0; i < count; ++i) {
        auto value =
            static_cast<int16_t>(std::lround(amplitude * std::sin(2 * M_PI * hz * i / 8000)));
        samples += static_cast<char>(value & 0xFF);
        samples += static_cast<char>((value >> 8) & 0xFF);
    }
    return samples;
}
