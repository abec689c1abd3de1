#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>

#include "TempProfile.h"
#include "auto/ProfileStore.h"
#include "platform/ScriptedPrompt.h"

namespace {

using RegistryTest = TempProfile;

std::vector<std::string> names(const std::vector<RegChild>& children) {
    std::vector<std::string> result;
    for (const RegChild& child : children)
        result.push_back(child.name);
    return result;
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheirCase) {
    auto key = registry->createPath("HKEY_CURRENT_USER\\Software\\MixedCase");
    ASSERT_TRUE(key);
    EXPECT_EQ(registry->openPath("hkey_current_user\\SOFTWARE\\mixedcase"), key);
    EXPECT_EQ(registry->createKey(registry->hive(Hive::CurrentUser), "software\\MIXEDCASE"), key);
    EXPECT_EQ(registry->keyName(*key), "MixedCase");

    ASSERT_TRUE(registry->setValue(*key, "UseSound", "1"));
    ASSERT_TRUE(registry->setValue(*key, "USESOUND", "0"));
    ASSERT_EQ(registry->values(*key).size(), 1u);
    EXPECT_EQ(registry->values(*key)[0].name, "UseSound");
    EXPECT_EQ(registry->value(*key, "usesound"), "0");
    EXPECT_FALSE(registry->openPath("HKEY_CLASSES_ROOT\\Software"));
}

TEST_F(RegistryTest, KoreanTrailBytesAreNotFoldedAsLetters) {
    // "갂" is B0 41 and "걁" is B0 61 in CP949: two names that differ only in a trail byte.
    RegKey root = *registry->createPath("HKEY_CURRENT_USER\\K");
    ASSERT_TRUE(registry->createKey(root, "\xB0\x41"));
    ASSERT_TRUE(registry->createKey(root, "\xB0\x61"));
    EXPECT_EQ(registry->subkeys(root).size(), 2u);
}

TEST_F(RegistryTest, DigitNamesEnumerateNumericallyBeforeOthers) {
    RegKey root = *registry->createPath("HKEY_CURRENT_USER\\Order");
    for (const char* name : {"beta", "1000", "Alpha", "101", "002", "_x", "999", "gamma"})
        ASSERT_TRUE(registry->createKey(root, name));
    EXPECT_EQ(
        names(registry->subkeys(root)),
        (std::vector<std::string>{"002", "101", "999", "1000", "Alpha", "beta", "gamma", "_x"}));
}

TEST_F(RegistryTest, DeletingAKeyTakesItsSubtreeAndTheHivesStay) {
    RegKey a = *registry->createPath("HKEY_CURRENT_USER\\A");
    RegKey deep = *registry->createKey(a, "B\\C\\D");
    ASSERT_TRUE(registry->setValue(deep, "v", "x"));
    ASSERT_TRUE(registry->deleteKey(a, "b"));
    EXPECT_FALSE(registry->openKey(a, "B"));
    EXPECT_TRUE(registry->values(deep).empty());
    EXPECT_FALSE(registry->deleteKey(registry->hive(Hive::LocalMachine)));
}

TEST_F(RegistryTest, FailedTransactionLeavesThePreviousContents) {
    RegKey key = *registry->createPath("HKEY_CURRENT_USER\\T");
    ASSERT_TRUE(registry->setValue(key, "kept", "old"));
    EXPECT_FALSE(registry->transaction([&] {
        registry->setValue(key, "kept", "new");
        registry->createKey(key, "Child");
        return false;
    }));
    EXPECT_EQ(registry->value(key, "kept"), "old");
    EXPECT_FALSE(registry->openKey(key, "Child"));
}

TEST_F(RegistryTest, BusyStoreReportsTheWriteInsteadOfDroppingIt) {
    auto other = openStore(50);
    RegKey key = *registry->createPath("HKEY_CURRENT_USER\\Busy");
    registry->transaction([&] {
        registry->setValue(key, "holder", "1");
        EXPECT_FALSE(other->setValue(key, "late", "1"));
        EXPECT_NE(other->lastError().find("locked"), std::string::npos) << other->lastError();
        return true;
    });
    EXPECT_FALSE(registry->value(key, "late"));
    EXPECT_TRUE(other->setValue(key, "late", "1"));
    EXPECT_EQ(registry->value(key, "late"), "1");
}

TEST_F(RegistryTest, StoreIsPrivateToTheUser) {
    registry.reset();
    std::string path = dir + "/config/quilite/profile.db";
    ScriptedPrompt prompt;
    std::string error;
    ASSERT_TRUE(openProfileStore(path, prompt, error)) << error;
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(stat((dir + "/config/quilite").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(RegistryTest, DamagedStoreIsMovedAsideNotOverwritten) {
    registry.reset();
    std::filesystem::remove(dbPath);
    const std::string garbage(8192, 'Z');
    std::ofstream(dbPath, std::ios::binary) << garbage;

    ScriptedPrompt prompt;
    std::string error;
    auto fresh = openProfileStore(dbPath, prompt, error);
    ASSERT_TRUE(fresh) << error;
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Warning);

    int asideFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().string().find(".damaged-") == std::string::npos) continue;
        ++asideFiles;
        std::ifstream in(entry.path(), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), garbage);
    }
    EXPECT_EQ(asideFiles, 1);
    EXPECT_TRUE(fresh->createPath("HKEY_CURRENT_USER\\Works"));
}

TEST_F(RegistryTest, AnotherProgramsDatabaseCountsAsDamaged) {
    registry.reset();
    std::filesystem::remove(dbPath);
    sqlite3* db = nullptr;
    sqlite3_open(dbPath.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE other(x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Registry::Opened opened = Registry::open(dbPath);
    EXPECT_FALSE(opened.registry);
    EXPECT_TRUE(opened.damaged);
}

}  // namespace
