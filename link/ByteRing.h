#pragma once
// A ring of bytes with a write index (head) and a read index (tail). It is empty when the two
// are equal, so it holds at most capacity - 1 bytes: a full ring never reads as empty.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class ByteRing {
public:
    explicit ByteRing(size_t capacity = 0) : bytes_(capacity) {}

    void reset(size_t capacity) {
        bytes_.assign(capacity, 0);
        clear();
    }
    void clear() { head_ = tail_ = 0; }

    size_t capacity() const { return bytes_.size(); }
    size_t used() const { return capacity() ? (head_ + capacity() - tail_) % capacity() : 0; }
    size_t room() const { return capacity() ? capacity() - used() - 1 : 0; }
    bool empty() const { return head_ == tail_; }
    bool full() const { return room() == 0; }

    // The free bytes that follow the head without wrapping; commit() appends what was put there.
    std::span<uint8_t> writeSpan() {
        const size_t end = tail_ > head_ ? tail_ - 1 : (tail_ == 0 ? capacity() - 1 : capacity());
        return {bytes_.data() + head_, capacity() ? end - head_ : 0};
    }
    void commit(size_t n) { head_ = (head_ + n) % capacity(); }

    // The held bytes that follow the tail without wrapping; consume() drops them.
    std::span<const uint8_t> readSpan() const {
        const size_t end = head_ >= tail_ ? head_ : capacity();
        return {bytes_.data() + tail_, end - tail_};
    }
    void consume(size_t n) {
        tail_ = (tail_ + n) % capacity();
        if (empty()) clear();
    }

    // Copies in as much as there is room for; how much.
    size_t put(const uint8_t* data, size_t n);
    // Copies out up to n held bytes; how many.
    size_t take(uint8_t* data, size_t n);

private:
    std::vector<uint8_t> bytes_;
    size_t head_ = 0;
    size_t tail_ = 0;
};
