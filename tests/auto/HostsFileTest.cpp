// hosts.cfg: the profile-string rules on a CP949 file, where the file is looked up, the file the
// program ships; and the services of the profile store that the entries belong to.
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "TempProfile.h"
#include "auto/HostsFile.h"
#include "auto/RegImport.h"
#include "auto/Services.h"

namespace {

class HostsFileTest : public TempProfile {
protected:
    ~HostsFileTest() override { unsetenv("QUILITE_DATA_DIR"); }

    // Writes UTF-8 text as CP949 with CRLF line ends, as a file from the old system would be.
    void writeCp949(const std::string& path, const std::string& utf8) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::string text;
        for (char c : cp(utf8))
            c == '\n' ? text += "\r\n" : text += c;
        std::ofstream(path, std::ios::binary) << text;
    }
};

TEST_F(HostsFileTest, ProfileStringRulesOnACp949File) {
    writeCp949(dir + "/odd.cfg",
               "orphan=before any section\n"
               "; a comment\n"
               "[HOST]\n"
               "  Size = 4 \n"
               "0 =  하이텔  \n"
               "1=\"천리안 \"\n"
               "1=second of a key\n"
               "3='나우누리'\n"
               "01=not a list number\n"
               "-1=not one either\n"
               "no equals sign\n"
               "  ;0=commented out\n"
               "[Host]\n"
               "2=in a second section of the name\n"
               "[하이텔\\PhoneBook]\n"
               "Size=2\n"
               "0=02:3420-1410:33600\n"
               "1=\"\"quoted twice\"\"\n"
               "2=past the size\n"
               "[하이텔\\Login]\n"
               "LoginString=\"login: \"\n"
               "PasswordString=\"Password: '\n"
               "Equals=a=b\n");
    const IniFile file = IniFile::Load(dir + "/odd.cfg");

    EXPECT_EQ(file.List("host"),
              (std::vector<std::string>{cp("하이텔"), cp("천리안 "), cp("나우누리")}));
    EXPECT_EQ(file.Value("Host", "orphan"), std::nullopt);
    EXPECT_EQ(file.Value("Host", "2"), std::nullopt);  // the first section of a name wins
    EXPECT_EQ(file.Int("HoSt", "SIZE", -1), 4);
    EXPECT_EQ(file.Int("Host", "Missing", -1), -1);
    EXPECT_EQ(file.List(cp("하이텔\\phonebook")),
              (std::vector<std::string>{"02:3420-1410:33600", "\"quoted twice\""}));
    EXPECT_EQ(file.Value(cp("하이텔\\LOGIN"), "loginstring"), "login: ");
    EXPECT_EQ(file.Value(cp("하이텔\\Login"), "PasswordString"), "\"Password: '");
    EXPECT_EQ(file.Value(cp("하이텔\\Login"), "Equals"), "a=b");
    EXPECT_EQ(file.List(cp("천리안\\PhoneBook")), std::vector<std::string>{});
}

TEST_F(HostsFileTest, AHugeSizeReadsOnlyTheKeysPresent) {
    const IniFile file = IniFile::Parse("[Host]\nSize=2147483647\n0=a\n7=b\n");
    EXPECT_EQ(file.List("Host"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(IniFile::Parse("[Host]\n0=a\n").List("Host"), std::vector<std::string>{});
}

TEST_F(HostsFileTest, TheUsersOwnFileComesBeforeTheInstalledOneAndNoFileIsAnEmptyBook) {
    setenv("QUILITE_DATA_DIR", (dir + "/installed").c_str(), 1);
    EXPECT_EQ(HostsFilePath(), dir + "/installed/hosts.cfg");
    EXPECT_TRUE(LoadHostsFile().List("Host").empty());

    writeCp949(dir + "/installed/hosts.cfg", "[Host]\nSize=1\n0=installed\n");
    EXPECT_EQ(LoadHostsFile().List("Host"), std::vector<std::string>{"installed"});
    writeCp949(dir + "/config/quilite/hosts.cfg", "[Host]\nSize=1\n0=own\n");
    EXPECT_EQ(HostsFilePath(), dir + "/config/quilite/hosts.cfg");
    EXPECT_EQ(LoadHostsFile().List("Host"), std::vector<std::string>{"own"});
}

TEST_F(HostsFileTest, TheShippedFileListsTheFourServicesWithNumbersAndPrompts) {
    const IniFile file = IniFile::Load(QUILITE_SOURCE_DIR "/data/hosts.cfg");
    const std::vector<std::string> services = file.List("Host");
    ASSERT_EQ(services,
              (std::vector<std::string>{cp("하이텔"), cp("천리안"), cp("나우누리"), cp("유니텔")}));
    for (const std::string& service : services) {
        EXPECT_GE(file.List(service + "\\PhoneBook").size(), 5u);
        EXPECT_EQ(file.Value(service + "\\Login", "LoginString"), "login: ");
        EXPECT_EQ(file.Value(service + "\\Login", "PasswordString"), "Password: ");
    }
}

TEST_F(HostsFileTest, ServicesOfTheDefaultProfileAndANewOneMadeAfterThem) {
    ASSERT_TRUE(importRegFile(*registry, QUILITE_SOURCE_DIR "/data/regorg.bak").ok());
    EXPECT_EQ(ServiceNames(*registry),
              (std::vector<std::string>{cp("하이텔"), cp("천리안"), cp("나우누리"), cp("유니텔")}));

    Record service = NewServiceDefaults(*registry, cp("천리안"));
    EXPECT_EQ(service[cp("초기 메뉴")], "top");
    EXPECT_EQ(service[cp("PPP 접속")], "go ppp");
    EXPECT_EQ(service["IconIndex"], "1");
    EXPECT_EQ(service["LoginString"], "login: ");
    EXPECT_EQ(service["PasswordString"], "Password: ");
    EXPECT_EQ(service.count("Title") + service.count("ReadOnly"), 0u);
    EXPECT_EQ(NewServiceDefaults(*registry, cp("없는 통신망")),
              (Record{{"LoginString", "login: "}, {"PasswordString", "Password: "}}));

    EXPECT_EQ(AddService(*registry, {{"Title", cp("천리안")}}),
              "이미 존재하는 통신망 이름은 사용할 수 없습니다.");
    EXPECT_EQ(AddService(*registry, {{"Title", ""}}), "통신망 이름을(를) 입력하십시오.");
    service["Title"] = cp("새 BBS");
    EXPECT_EQ(AddService(*registry, service), std::nullopt);
    EXPECT_EQ(ServiceNames(*registry).back(), cp("새 BBS"));
    Record stored = NewServiceDefaults(*registry, cp("새 BBS"));
    EXPECT_EQ(stored[cp("초기 메뉴")], "top");
}

}  // namespace
