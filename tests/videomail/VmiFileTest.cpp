// The message file: header and record layout byte for byte, three producers appending at once,
// and reading damaged files.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

#include "../fixtures/FakeClock.h"
#include "VideomailTestSupport.h"
#include "videomail/VmiReader.h"
#include "videomail/VmiWriter.h"

namespace {

std::string recordBytes(uint32_t type, uint32_t sequence, uint32_t time, uint32_t offset,
                        const std::string& data) {
    std::string header(vmi::kRecordHeaderSize, '\0');
    vmi::putLe32(header.data(), type);
    vmi::putLe32(header.data() + 4, sequence);
    vmi::putLe32(header.data() + 8, time);
    vmi::putLe32(header.data() + 12, static_cast<uint32_t>(data.size()));
    vmi::putLe32(header.data() + 16, offset);
    return header + data;
}

std::string messageHeader() {
    std::string header(vmi::kHeaderSize, '\0');
    for (int i = 0; i < 3; ++i)
        vmi::putLe32(header.data() + 304 + 4 * i, vmi::kMark[i]);
    return header;
}

std::vector<vmi::Record> readAll(const std::string& path, uint64_t base = 0) {
    VmiReader reader;
    std::vector<vmi::Record> records;
    if (!reader.Open(path, base)) return records;
    while (auto record = reader.ReadRecord())
        records.push_back(*record);
    return records;
}

// Lengths vary so that a torn record would shift everything after it.
std::string producerData(uint32_t type, int i) {
    return std::to_string(i) + std::string(i % 50 * type, static_cast<char>('A' + type));
}

// A clock several threads may read at once; each reading moves it on by one millisecond.
class TickingClock : public Clock {
public:
    int64_t nowMs() const override { return now_.fetch_add(1); }
    void sleepMs(int) override {}

private:
    mutable std::atomic<int64_t> now_{0xFFFFFF00};
};

}  // namespace

TEST(VmiWriter, WritesHeaderAndRecordsByteForByte) {
    TempFolder folder;
    FakeClock clock;
    VmiWriter writer(clock);
    ASSERT_TRUE(writer.Create(folder / "m.vmi"));
    uint32_t t0 = static_cast<uint32_t>(clock.nowMs());
    ASSERT_TRUE(writer.AppendRecord(vmi::kVideo, "abc"));
    clock.advance(33);
    ASSERT_TRUE(writer.AppendRecord(vmi::kSound, ""));
    clock.advance(7);
    ASSERT_TRUE(writer.AppendRecord(vmi::kCaption, "."));
    ASSERT_TRUE(writer.Close());

    std::string bytes = readFile(folder / "m.vmi");
    std::string expected = recordBytes(1, 0, t0, 0, "abc") + recordBytes(2, 1, t0 + 33, 339, "") +
                           recordBytes(3, 2, t0 + 40, 359, ".");
    ASSERT_EQ(bytes.size(), 316 + expected.size());
    EXPECT_EQ(bytes.substr(316), expected);
    EXPECT_EQ(bytes.substr(16, 288), std::string(288, '\0'));
    EXPECT_EQ(bytes.substr(304, 12), messageHeader().substr(304));
    // The start time: a plausible UTC year, month, weekday, day, hour, minute, second, ms.
    auto field = [&](int i) {
        return static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8;
    };
    EXPECT_GE(field(0), 2024);
    const int limits[8] = {0, 12, 6, 31, 23, 59, 59, 999};
    for (int i = 1; i < 8; ++i)
        EXPECT_LE(field(i), limits[i]) << i;
}

TEST(VmiWriter, KeepsRecordsWholeAndInOrderWithThreeProducers) {
    TempFolder folder;
    TickingClock clock;
    VmiWriter writer(clock);
    ASSERT_TRUE(writer.Create(folder / "m.vmi"));
    constexpr int kPerProducer = 300;
    auto produce = [&](uint32_t type) {
        for (int i = 0; i < kPerProducer; ++i) {
            writer.AppendRecord(type, producerData(type, i));
        }
    };
    std::thread video(produce, vmi::kVideo), sound(produce, vmi::kSound),
        caption(produce, vmi::kCaption);
    video.join();
    sound.join();
    caption.join();
    ASSERT_TRUE(writer.Close());

    std::string bytes = readFile(folder / "m.vmi");
    std::vector<vmi::Record> records = readAll(folder / "m.vmi");
    ASSERT_EQ(records.size(), 3u * kPerProducer);
    std::map<uint32_t, int> next;
    size_t at = vmi::kHeaderSize;
    for (size_t i = 0; i < records.size(); ++i) {
        const vmi::Record& r = records[i];
        EXPECT_EQ(r.sequence, i);
        EXPECT_EQ(r.offset, i == 0 ? 0 : at);
        // Stamped under the lock: one tick a record, across the 32-bit wrap.
        if (i > 0) {
            EXPECT_EQ(r.timeMs - records[i - 1].timeMs, 1u);
        }
        EXPECT_EQ(r.data, producerData(r.type, next[r.type]++)) << "record " << i;
        EXPECT_EQ(bytes.substr(at + 20, r.data.size()), r.data);
        at += vmi::kRecordHeaderSize + r.data.size();
    }
    EXPECT_EQ(at, bytes.size());
}

TEST(VmiWriter, RefusesAFileThatCannotBeCreated) {
    TempFolder folder;
    VmiWriter writer(Clock::steady());
    EXPECT_FALSE(writer.Create(folder / "missing/m.vmi"));
    EXPECT_FALSE(writer.AppendRecord(vmi::kVideo, "x"));
}

TEST(VmiReader, StopsAtDamage) {
    std::string records = recordBytes(1, 0, 100, 0, "pic") + recordBytes(2, 1, 120, 339, "") +
                          recordBytes(3, 2, 130, 359, "hi");
    struct Case {
        const char* what;
        std::string body;
        size_t expected;
    } cases[] = {
        {"whole", records, 3},
        {"zero-length record followed directly", records.substr(0, 43), 2},
        {"cut inside a header", records.substr(0, 50), 2},
        {"cut inside data", records.substr(0, 64), 2},
        {"end record mid-file",
         recordBytes(1, 0, 1, 0, "a") + recordBytes(6, 1, 2, 337, "") + records, 1},
        {"end record with a length", recordBytes(6, 0, 1, 0, "zz") + records, 0},
        {"length past the end",
         recordBytes(1, 0, 1, 0, "a") + records.substr(0, 12) + std::string("\xFF\xFF\x0F\x00", 4),
         1},
        {"length over 1 MiB",
         recordBytes(1, 0, 1, 0, "a") + recordBytes(1, 1, 1, 0, "").substr(0, 12) +
             std::string("\x01\x00\x10\x00", 4) + std::string(4, '\0'),
         1},
        {"unknown type kept", recordBytes(9, 0, 1, 0, "q") + records, 4},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        writeFile(folder / "m.vmi", messageHeader() + c.body);
        EXPECT_EQ(readAll(folder / "m.vmi").size(), c.expected) << c.what;
    }
    writeFile(folder / "short.vmi", messageHeader().substr(0, 315));
    VmiReader reader;
    EXPECT_FALSE(reader.Open(folder / "short.vmi"));
    EXPECT_FALSE(reader.ReadRecord());
    EXPECT_FALSE(reader.Open(folder / "none.vmi"));
}

TEST(VmiReader, FindsAMessageAppendedToTheProgram) {
    TempFolder folder;
    std::string message = messageHeader() + recordBytes(3, 0, 5, 0, "caption");
    std::string launcher = "#!/bin/sh\nexec true\n";
    std::string package = launcher + std::string(150000 - launcher.size(), '\0') + message;
    struct Case {
        const char* what;
        std::string bytes;
        uint64_t start;
    } cases[] = {
        {"plain message", message, 0},
        {"package", package, 150000},
        {"long plain message", message + std::string(200000, 'x'), 0},
        {"exactly 150000 bytes", package.substr(0, 150000), 0},
        {"program without a message", launcher + std::string(160000, '\0'), 0},
    };
    for (const Case& c : cases) {
        writeFile(folder / "f", c.bytes);
        EXPECT_EQ(findMessageStart(folder / "f"), c.start) << c.what;
    }
    writeFile(folder / "f", package);
    auto records = readAll(folder / "f", findMessageStart(folder / "f"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].data, "caption");
}
