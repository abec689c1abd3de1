#pragma once
// A link over memory: reads come from a byte string given in advance, writes are collected.
// Used by quilite-vtdump and by tests that drive the terminal or an engine without a peer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "xfer/GFComLink.h"

class MemoryLink : public GFComLink {
public:
    MemoryLink() = default;
    explicit MemoryLink(std::string input) : input_(std::move(input)) {}

    // Appends bytes for later reads.
    void Feed(const std::string& bytes) { input_ += bytes; }
    // Everything written so far, and the [begin, end) offsets of each BeginHold/EndHold group.
    const std::string& Output() const { return output_; }
    const std::vector<std::pair<size_t, size_t>>& Groups() const { return groups_; }
    void ClearOutput() {
        output_.clear();
        groups_.clear();
    }

    int ReadByte() override;
    int Read(void* data, int count) override;
    int WriteByte(int c) override;
    int Write(const void* data, int count) override;
    int WriteString(const char* text) override;
    int WaitReady(int event, int block) override;
    bool IsOnline() override { return true; }
    int InputCount() override { return static_cast<int>(input_.size() - readPos_); }
    int OutputCount() override { return 0; }
    void PurgeInput() override { readPos_ = input_.size(); }
    void BeginHold() override;
    void EndHold() override;

private:
    std::string input_;
    size_t readPos_ = 0;
    std::string output_;
    std::vector<std::pair<size_t, size_t>> groups_;
    int holdDepth_ = 0;
    size_t holdStart_ = 0;
};
