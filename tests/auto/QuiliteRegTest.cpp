// The quilite-reg tool, run as a user would run it.
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "TempProfile.h"
#include "auto/CRecordStore.h"
#include "auto/MacroPage.h"
#include "auto/PasswordScrambler.h"
#include "platform/ScriptedPrompt.h"

namespace {

class QuiliteRegTest : public TempProfile {
protected:
    void SetUp() override { registry.reset(); }

    // Runs the tool on the test's store; returns the exit status, output in `out`.
    int run(const std::string& args) {
        std::string command =
            QUILITE_BINARY_DIR "/tools/quilite-reg --db '" + dbPath + "' " + args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        out.clear();
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string out;
};

TEST_F(QuiliteRegTest, SetGetAndListSpeakUtf8AndStoreCp949) {
    const std::string key = "'HKCU\\Software\\Vantra\\반트라 퀼론 98 Lite\\Hosts\\000'";
    ASSERT_EQ(run("set " + key + " @ 하이텔"), 0) << out;
    ASSERT_EQ(run("set " + key + " 초기\\ 메뉴 top"), 0) << out;
    ASSERT_EQ(run("get " + key), 0);
    EXPECT_EQ(out, "하이텔\n");
    ASSERT_EQ(run("get 'hkey_current_user\\software\\vantra\\반트라 퀼론 98 Lite\\hosts\\000' "
                  "'초기 메뉴'"),
              0);
    EXPECT_EQ(out, "top\n");
    ASSERT_EQ(run("list 'HKCU\\Software\\Vantra\\반트라 퀼론 98 Lite'"), 0);
    EXPECT_EQ(out, "[Hosts]\n");
    ASSERT_EQ(run("list " + key), 0);
    EXPECT_EQ(out, "@=\"하이텔\"\n\"초기 메뉴\"=\"top\"\n");

    registry = openStore();
    auto stored = registry->openPath(
        cp("HKEY_CURRENT_USER\\Software\\Vantra\\반트라 퀼론 98 Lite\\Hosts\\000"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(registry->value(*stored, ""), cp("하이텔"));
}

TEST_F(QuiliteRegTest, ImportAndExportFiles) {
    std::ofstream(dir + "/in.reg", std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\T]\r\n\"n\"=dword:00000010\r\n"
           "\"b\"=hex:01\r\n";
    ASSERT_EQ(run("import " + dir + "/in.reg"), 0) << out;
    EXPECT_NE(out.find("imported 1 keys, 1 values, 0 deletions; skipped 1"), std::string::npos)
        << out;
    ASSERT_EQ(run("export HKLM\\\\Software\\\\T " + dir + "/out.reg"), 0) << out;
    std::ifstream in(dir + "/out.reg", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\T]\r\n\"n\"=\"16\"\r\n\r\n");
}

// Rules written as a registry file (as the README shows) and listed back in their order.
TEST_F(QuiliteRegTest, AutoMacrosImportedAndListed) {
    const std::string hosts = "[HKEY_CURRENT_USER\\Software\\Vantra\\반트라 퀼론 98 Lite\\Hosts";
    std::ofstream(dir + "/rules.reg", std::ios::binary)
        << cp("REGEDIT4\r\n\r\n" + hosts + "\\000]\r\n@=\"테스트\"\r\n\r\n" + hosts +
              "\\000\\AutoMacro\\000]\r\n@=\"넘기기\"\r\n\"Pattern\"=\"[Enter]를 누르세요\"\r\n"
              "\"SendString\"=\"<Enter>\"\r\n\r\n" +
              hosts +
              "\\000\\AutoMacro\\001]\r\n@=\"bell\"\r\n\"Pattern\"=\"memo\"\r\n\"Off\"=\"1\"\r\n"
              "\"Cmd\"=\"32827\"\r\n\"PlaySound\"=\"/s.wav\"\r\n");
    ASSERT_EQ(run("import " + dir + "/rules.reg"), 0) << out;
    ASSERT_EQ(run("automacro 테스트"), 0) << out;
    EXPECT_EQ(out,
              "1 on  \"넘기기\" \"[Enter]를 누르세요\" => \"<Enter>\"\n"
              "2 off \"bell\" \"memo\" => \"\" cmd 32827 sound \"/s.wav\"\n");
    EXPECT_EQ(run("automacro 없음"), 1);
}

TEST_F(QuiliteRegTest, BadInputExitsWithTwoAndMissingKeysWithOne) {
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run("frobnicate x"), 2);
    EXPECT_EQ(run("set HKCU\\\\X"), 2);
    EXPECT_EQ(run("get HKEY_CLASSES_ROOT\\\\X"), 2);
    EXPECT_NE(out.find("HKEY_CURRENT_USER"), std::string::npos);
    EXPECT_EQ(run("set HKCU\\\\X v 😀"), 2);
    EXPECT_NE(out.find("CP949"), std::string::npos);
    EXPECT_EQ(run("import " + dir + "/missing.reg"), 2);
    std::ofstream(dir + "/text.reg") << "just text\n";
    EXPECT_EQ(run("import " + dir + "/text.reg"), 2);
    EXPECT_EQ(run("get HKCU\\\\Nothing"), 1);
    EXPECT_EQ(run("export HKCU\\\\Nothing -"), 1);
}

// IDs added with their passwords from standard input, stored scrambled, listed back with the
// default first; the record rules refuse bad IDs and passwords.
TEST_F(QuiliteRegTest, LoginIdsRoundTrip) {
    registry = openStore();
    CRecordStore store(*registry);
    ASSERT_TRUE(store.SelectKind(RecordKind::Service));
    RegKey service = *store.AddRecord(store.Section());
    ASSERT_TRUE(store.WriteRecord(service, {{"Title", cp("하이텔")}}));
    registry.reset();
    auto from = [this](const std::string& line) {
        std::ofstream(dir + "/password") << line << "\n";
        return " < '" + dir + "/password'";
    };

    ASSERT_EQ(run("login 하이텔 guest < /dev/null"), 0) << out;
    ASSERT_EQ(run("login 하이텔 kim 철수" + from("secret")), 0) << out;
    ASSERT_EQ(run("login 하이텔 lee --default" + from("pw")), 0) << out;
    ASSERT_EQ(run("login 하이텔 kim" + from("new")), 0) << out;
    ASSERT_EQ(run("login 하이텔"), 0);
    EXPECT_EQ(out, "1 lee \"\" **\n2 guest \"\" \n3 kim \"철수\" ***\n");

    EXPECT_EQ(run("login 하이텔 ' x'" + from("pw")), 2);
    EXPECT_NE(out.find("아이디에는"), std::string::npos) << out;
    EXPECT_EQ(run("login 하이텔 _x" + from("pw")), 2);
    EXPECT_EQ(run("login 하이텔 ok" + from(std::string(131, 'p'))), 2);
    EXPECT_NE(out.find("130자"), std::string::npos) << out;
    EXPECT_EQ(run("login 없음"), 1);

    registry = openStore();
    std::vector<Record> ids;
    ASSERT_TRUE(CRecordStore(*registry).LoadIdList(service, ids));
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_EQ(ids[2], (Record{{"Title", "kim"}, {"Name", cp("철수")}, {"Password", "new"}}));
    EXPECT_EQ(registry->value(*registry->openKey(service, "ID\\002"), "Password"),
              ScramblePassword("new"));
}

}  // namespace

// Macros imported from a CP949 registry file read back as stored; what the page saves is what
// an export shows.
TEST_F(QuiliteRegTest, MacrosImportedReadAndExportedAfterASave) {
    const std::string hosts = "[HKEY_CURRENT_USER\\Software\\Vantra\\반트라 퀼론 98 Lite\\Hosts";
    std::ofstream(dir + "/macros.reg", std::ios::binary)
        << cp("REGEDIT4\r\n\r\n" + hosts + "\\000]\r\n@=\"테스트\"\r\n\r\n" + hosts +
              "\\000\\Macro]\r\n\"Ctrl+F1\"=\"ls -l<Enter>\"\r\n\"@Ctrl+F1\"=\"목록\"\r\n"
              "\"F2\"=\"top<Enter>\"\r\n\"@F2\"=\"처음\"\r\n\"Ctrl+ F1\"=\"x\"\r\n"
              "\"@Ctrl+F3\"=\"짝 없음\"\r\n");
    ASSERT_EQ(run("import " + dir + "/macros.reg"), 0) << out;

    registry = openStore();
    std::vector<MacroRow> rows;
    ASSERT_TRUE(LoadMacros(*registry, cp("테스트"), rows));
    EXPECT_EQ(rows, (std::vector<MacroRow>{{"Ctrl+ F1", "Ctrl+ F1", "x"},
                                           {cp("목록"), "Ctrl+F1", "ls -l<Enter>"},
                                           {cp("처음"), "F2", "top<Enter>"}}));
    ScriptedPrompt prompt;
    MacroPage page(*registry, prompt, cp("테스트"));
    page.Delete({0});
    page.Edit(1, [this](MacroRow& row) {
        row = {cp("메뉴"), "Shift+F5", "go<Enter>"};
        return true;
    });
    ASSERT_TRUE(page.Apply());
    registry.reset();

    ASSERT_EQ(run("export 'HKCU\\Software\\Vantra\\반트라 퀼론 98 Lite\\Hosts\\000\\Macro' -"), 0)
        << out;
    EXPECT_EQ(out, cp("REGEDIT4\r\n\r\n" + hosts +
                      "\\000\\Macro]\r\n\"@Ctrl+F1\"=\"목록\"\r\n\"@Shift+F5\"=\"메뉴\"\r\n"
                      "\"Ctrl+F1\"=\"ls -l<Enter>\"\r\n\"Shift+F5\"=\"go<Enter>\"\r\n\r\n"));
}
