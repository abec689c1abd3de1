#include "InjectFailure.h"
#include "TempProfile.h"
#include "auto/RegExport.h"
#include "auto/RegImport.h"

namespace {

using RegFileTest = TempProfile;

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

std::string utf16(const std::string& utf8) {
    return "\xFF\xFE" + utf8ToUtf16le(utf8).value();
}

TEST_F(RegFileTest, Regedit4ValuesOfEveryKind) {
    std::string file =
        cp("REGEDIT4\n\n"
           "[HKEY_CURRENT_USER\\Software\\Test]\n"
           "@=\"기본값\"\n"
           "\"Path\"=\"C:\\\\Program Files\\\\\\\"Q\\\"\"\n"
           "\"Count\"=dword:0000000a\n"
           "\"Big\"=dword:ffffffff\n"
           "\"Hex1\"=hex(1):b0,a1,41,00\n"
           "\"Hex2\"=hex(2):25,50,41,\\\n"
           "  54,48,25,00\n"
           "\"Binary\"=hex:01,02\n"
           "\"Multi\"=hex(7):41,00,00\n"
           "; a comment\n"
           "[HKEY_CLASSES_ROOT\\Nope]\n"
           "\"Lost\"=\"x\"\n");
    RegImportResult result = importRegText(*registry, crlf(file));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.keys, 1);
    EXPECT_EQ(result.values, 6);
    EXPECT_EQ(result.skipped, 4);  // hex:, hex(7):, the foreign hive and its value

    RegKey key = *registry->openPath("HKEY_CURRENT_USER\\Software\\Test");
    EXPECT_EQ(registry->value(key, ""), cp("기본값"));
    EXPECT_EQ(registry->value(key, "Path"), "C:\\Program Files\\\"Q\"");
    EXPECT_EQ(registry->value(key, "Count"), "10");
    EXPECT_EQ(registry->value(key, "Big"), "4294967295");
    EXPECT_EQ(registry->value(key, "Hex1"), cp("가A"));
    EXPECT_EQ(registry->value(key, "Hex2"), "%PATH%");
    EXPECT_FALSE(registry->value(key, "Binary"));
}

TEST_F(RegFileTest, DeletionsRemoveKeysAndValues) {
    RegKey key = *registry->createPath("HKEY_CURRENT_USER\\Gone\\Deep");
    RegKey kept = *registry->createPath("HKEY_CURRENT_USER\\Kept");
    registry->setValue(kept, "drop", "1");
    registry->setValue(kept, "stay", "1");
    registry->setValue(kept, "binary", "old");
    RegImportResult result =
        importRegText(*registry,
                      "REGEDIT4\r\n[-HKEY_CURRENT_USER\\Gone]\r\n[HKEY_CURRENT_USER\\Kept]\r\n"
                      "\"drop\"=-\r\n\"binary\"=hex:00\r\n[-HKEY_CURRENT_USER]\r\n");
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(registry->openPath("HKEY_CURRENT_USER\\Gone"));
    EXPECT_TRUE(registry->values(key).empty());
    EXPECT_FALSE(registry->value(kept, "drop"));
    EXPECT_EQ(registry->value(kept, "stay"), "1");
    EXPECT_EQ(registry->value(kept, "binary"), "old");  // skipped types never alter
    EXPECT_EQ(result.skipped, 2);
}

TEST_F(RegFileTest, Version5FilesInUtf16WithKoreanTitles) {
    std::string file = utf16(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Vantra\\반트라 퀼론 98 Lite\\Hosts\\000\\Bookmark\\000]\r\n"
        "@=\"자유게시판\"\r\n\"Location\"=\"FREE\"\r\n"
        "\"Wide\"=hex(1):00,ac,41,00,00,00\r\n"
        "\"Emoji\"=\"\xF0\x9F\x98\x80\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\\xF0\x9F\x98\x80]\r\n\"x\"=\"y\"\r\n");
    RegImportResult result = importRegText(*registry, file);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.skipped, 3);
    auto key = registry->openPath(
        cp("HKEY_CURRENT_USER\\Software\\Vantra\\반트라 퀼론 98 Lite\\Hosts\\000\\Bookmark\\000"));
    ASSERT_TRUE(key);
    EXPECT_EQ(registry->value(*key, ""), cp("자유게시판"));
    EXPECT_EQ(registry->value(*key, "Wide"), cp("가A"));
    EXPECT_FALSE(registry->value(*key, "Emoji"));
}

TEST_F(RegFileTest, BadInputIsRefusedAndFailuresKeepNothing) {
    EXPECT_EQ(importRegText(*registry, "hello\r\n").status, RegImportStatus::NotRegistryFile);
    EXPECT_EQ(importRegText(*registry, "\xFF\xFE\x00\xD8").status,
              RegImportStatus::NotRegistryFile);
    EXPECT_EQ(importRegFile(*registry, dir + "/missing.reg").status, RegImportStatus::Unreadable);

    injectFailure(dbPath, "BEFORE INSERT ON vals WHEN CAST(NEW.name AS TEXT) = 'second'");
    RegImportResult result = importRegText(
        *registry,
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\New]\r\n\"first\"=\"1\"\r\n\"second\"=\"2\"\r\n");
    EXPECT_EQ(result.status, RegImportStatus::StoreFailed);
    EXPECT_FALSE(registry->openPath("HKEY_CURRENT_USER\\New"));
}

TEST_F(RegFileTest, ExportIsRegedit4AndSurvivesARoundTrip) {
    RegKey root = *registry->createPath(cp("HKEY_CURRENT_USER\\Software\\퀼론"));
    registry->setValue(root, "zeta", "z");
    registry->setValue(root, "Alpha", "a\"b\\c");
    registry->setValue(root, "", cp("제목"));
    registry->setValue(root, "Lines", "one\r\ntwo");
    registry->createKey(root, "10");
    registry->createKey(root, "9\\Leaf");
    std::string expected =
        cp("REGEDIT4\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\퀼론]\r\n"
           "@=\"제목\"\r\n"
           "\"Alpha\"=\"a\\\"b\\\\c\"\r\n"
           "\"Lines\"=hex(1):6f,6e,65,0d,0a,74,77,6f,00\r\n"
           "\"zeta\"=\"z\"\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\퀼론\\9]\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\퀼론\\9\\Leaf]\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\퀼론\\10]\r\n\r\n");
    auto first = exportRegText(*registry, cp("hkey_current_user\\software\\퀼론"));
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, expected);

    registry.reset();
    std::filesystem::remove(dbPath);
    registry = openStore();
    ASSERT_TRUE(importRegText(*registry, *first).ok());
    EXPECT_EQ(exportRegText(*registry, cp("HKEY_CURRENT_USER\\Software\\퀼론")), first);
    EXPECT_FALSE(exportRegText(*registry, "HKEY_CURRENT_USER\\Missing"));
}

TEST_F(RegFileTest, LongHexValuesWrapAndReadBack) {
    RegKey root = *registry->createPath("HKEY_CURRENT_USER\\Wrap");
    std::string text(100, '\n');
    registry->setValue(root, "v", text);
    std::string exported = *exportRegText(*registry, "HKEY_CURRENT_USER\\Wrap");
    EXPECT_NE(exported.find(",\\\r\n  0a,"), std::string::npos);
    registry->deleteValue(root, "v");
    ASSERT_TRUE(importRegText(*registry, exported).ok());
    EXPECT_EQ(registry->value(root, "v"), text);
}

}  // namespace
