#include <fstream>

#include "TempProfile.h"
#include "auto/FileListRows.h"
#include "auto/FileRecords.h"
#include "auto/ProfileLayout.h"

namespace {

class FileRecordsTest : public TempProfile {
protected:
    std::string touch(const std::string& name) {
        const std::string path = dir + "/" + name;
        std::ofstream(path) << "x";
        return path;
    }

    static FileRecord file(const std::string& path, int64_t size, int64_t fileTime = 0) {
        FileRecord record;
        record.path = path;
        record.size = size;
        record.fileTime = fileTime;
        return record;
    }

    CRecordStore store{*registry};
};

TEST_F(FileRecordsTest, TransfersAreStoredWithTheirKindsFieldsAndDescription) {
    struct Case {
        TransferDirection direction;
        int kind;
        const char* sizeField;
        const char* timeField;
    };
    for (const Case& c : {Case{TransferDirection::Receive, 8, "RSize", "RTime"},
                          Case{TransferDirection::Send, 9, "SSize", "STime"}}) {
        const std::string path = dir + "/받은 파일/보고서.txt";
        FileRecord record = transferredFileRecord(path, 6000000000, 1700000000, 500, 1800000000);
        ASSERT_EQ(AddFileRecord(store, record, transferredFileKind(c.direction), cp("하이텔"),
                                cp("하이텔 접속")),
                  AddFileResult::Added);
        std::vector<Record> stored = readFileRecords(store, c.kind);
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(stored[0], (Record{{"FilePath", cp(path)},
                                     {"FileSize", "6000000000"},
                                     {"MTime", "1700000000"},
                                     {"Description", cp("하이텔(하이텔 접속)")},
                                     {c.sizeField, "500"},
                                     {c.timeField, "1800000000"}}));
        record.description = cp("하이텔(하이텔 접속)");
        FileRecord read = fileRecordFrom(stored[0], c.kind);
        EXPECT_EQ(std::tie(read.path, read.size, read.fileTime, read.description, read.transferred,
                           read.transferTime),
                  std::tie(record.path, record.size, record.fileTime, record.description,
                           record.transferred, record.transferTime));
    }
}

TEST_F(FileRecordsTest, CapturesAppendInOrderWithoutTransferFields) {
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(AddFileRecord(store, file(dir + "/s120" + std::to_string(i) + ".txt", 10 + i, 99),
                                RecordKind::CaptureFile, cp("기본"), ""),
                  AddFileResult::Added);
    std::vector<Record> stored = readFileRecords(store, RecordKind::CaptureFile);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2], (Record{{"FilePath", dir + "/s1202.txt"},
                                 {"FileSize", "12"},
                                 {"MTime", "99"},
                                 {"Description", cp("기본()")}}));
    ASSERT_TRUE(writeFileRecords(store, RecordKind::CaptureFile, {}));
    EXPECT_TRUE(readFileRecords(store, RecordKind::CaptureFile).empty());
    EXPECT_EQ(store.Count(store.Section()), 0);
}

TEST_F(FileRecordsTest, APathCp949CannotHoldIsNotRecorded) {
    EXPECT_EQ(AddFileRecord(store, file(dir + "/\xF0\x9F\x98\x80.txt", 1), RecordKind::ReceivedFile,
                            "", ""),
              AddFileResult::PathNotStorable);
    EXPECT_TRUE(readFileRecords(store, RecordKind::ReceivedFile).empty());
}

TEST_F(FileRecordsTest, StoredNumbersAndPathsOutOfRangeReadAsNothing) {
    FileRecord read = fileRecordFrom({{"FilePath", "C:\\QuiLite\\down\\a.txt"},
                                      {"FileSize", "99999999999999999999999"},
                                      {"MTime", "-5"},
                                      {"RSize", "abc"},
                                      {"RTime", "4102444800"}},
                                     RecordKind::ReceivedFile);
    EXPECT_EQ(read.path, "");
    EXPECT_EQ(read.size, 0);
    EXPECT_EQ(read.fileTime, 0);
    EXPECT_EQ(read.transferred, 0);
    EXPECT_EQ(read.transferTime, 4102444800);
}

TEST_F(FileRecordsTest, TheSendBoxKeepsFifteenExistingFilesInTheOrderAdded) {
    std::vector<std::string> files;
    for (int i = 0; i < 17; ++i)
        files.push_back(touch("파일" + std::to_string(i)));
    const std::string emoji = dir + "/\xF0\x9F\x98\x80";
    std::vector<std::string> chosen = files;
    chosen.insert(chosen.begin() + 1, emoji);
    EXPECT_EQ(addToSendBox(*registry, chosen), std::vector<std::string>{emoji});
    std::vector<std::string> box = loadSendBox(*registry);
    EXPECT_EQ(box, std::vector<std::string>(files.begin(), files.begin() + 15));

    std::filesystem::remove(files[3]);
    box = loadSendBox(*registry);
    ASSERT_EQ(box.size(), 14u);
    EXPECT_EQ(box[3], files[4]);
    EXPECT_EQ(sendBoxFiles(*registry).load().size(), 14u);  // the missing file left the store
}

}  // namespace

namespace {

TEST(FileListRowsTest, RowsShowSizesSharesAndTimesAsTheListsDo) {
    setenv("TZ", "UTC", 1);
    tzset();
    const std::string hitel = utf8ToCp949("하이텔(bbs)").value();
    struct Case {
        Record stored;
        int kind;
        std::vector<std::string> cells;
    };
    const Case cases[] = {
        {{{"FilePath", "/d/a.zip"},
          {"FileSize", "1000"},
          {"RSize", "500"},
          {"RTime", "1796566500"},
          {"Description", hitel}},
         RecordKind::ReceivedFile,
         {"/d/a.zip", "1,000", "12-06 14:15", "50%", "하이텔(bbs)"}},
        {{{"FilePath", "/d/b"}, {"FileSize", "0"}, {"SSize", "1234567"}, {"STime", "0"}},
         RecordKind::SentFile,
         {"/d/b", "1,234,567", "01-01 00:00", "?", ""}},
        {{{"FilePath", "/d/big"},
          {"FileSize", "9000000000000000000"},
          {"RSize", "9000000000000000000"}},
         RecordKind::ReceivedFile,
         {"/d/big", "9,000,000,000,000,000,000", "01-01 00:00", "100%", ""}},
        {{{"FilePath", "C:\\cap\\s1206.txt"}, {"FileSize", "12"}, {"MTime", "1796566500"}},
         RecordKind::CaptureFile,
         {"C:\\cap\\s1206.txt", "12", "12-06 14:15", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileListRow(c.stored, c.kind), c.cells) << c.cells[0];
    EXPECT_EQ(fileListHeaders(RecordKind::SentFile),
              (std::vector<std::string>{"   파일명", "크기", "보낸 날짜", "송신", "기타"}));

    EXPECT_EQ(sendBoxSize(1000), "1KB");
    EXPECT_EQ(sendBoxSize(0), "0KB");
    EXPECT_EQ(sendBoxSize(1048575), "1.00MB");
    EXPECT_EQ(sendBoxSize(1048576), "1.00MB");
    EXPECT_EQ(sendBoxSize(1023 * 1024), "1,023KB");
    EXPECT_EQ(sendBoxSize(int64_t(5000) * 1024 * 1024 + 10 * 1024), "5,000.01MB");
    unsetenv("TZ");
    tzset();
}

}  // namespace
