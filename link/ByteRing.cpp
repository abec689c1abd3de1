#include "link/ByteRing.h"

#include <algorithm>
#include <cstring>

size_t ByteRing::put(const uint8_t* data, size_t n) {
    size_t done = 0;
    while (done < n) {
        std::span<uint8_t> span = writeSpan();
        const size_t step = std::min(span.size(), n - done);
        if (step == 0) break;
        std::memcpy(span.data(), data + done, step);
        commit(step);
        done += step;
    }
    return done;
}

size_t ByteRing::take(uint8_t* data, size_t n) {
    size_t done = 0;
    while (done < n) {
        std::span<const uint8_t> span = readSpan();
        const size_t step = std::min(span.size(), n - done);
        if (step == 0) break;
        std::memcpy(data + done, span.data(), step);
        consume(step);
        done += step;
    }
    return done;
}
